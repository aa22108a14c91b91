// The librarian with one change for the crash tests: its main procedure faults (a null read)
// as soon as it runs, after the application's start-up built and installed ThisGPF. Runs on
// the scripted screen when BOXWRIGHT_SCREEN says so, else on the real screen.
#include "app/librarian_program.h"
#include "crash/present/presenter.h"
#include "platform/harness/screen_choice.h"
#include "platform/qt/make_qt_screen.h"
#include "platform/rt/module.h"
#include "tests/support/deliberate_faults.h"

int main(int argc, char** argv) {
  const harness::ScreenMaker screen = harness::ScreenFromEnvironment(qtscreen::MakeQtScreen);
  if (crash::IsPresenterRun(argc, argv)) return crash::RunPresenter(argc, argv, screen);
  rt::Program program = LibrarianProgram();
  program.main = deliberate::NullRead;
  program.screen = screen;
  return rt::RunProgram(argc, argv, program);
}
