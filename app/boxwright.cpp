// Boxwright: the cabinet librarian, on the screen users see (or on a test's script).
#include "app/librarian_program.h"
#include "crash/present/presenter.h"
#include "platform/harness/screen_choice.h"
#include "platform/qt/make_qt_screen.h"
#include "platform/rt/module.h"

int main(int argc, char** argv) {
  const harness::ScreenMaker screen = harness::ScreenFromEnvironment(qtscreen::MakeQtScreen);
  // The program started again by its own crash reporter, to show the fault to the user.
  if (crash::IsPresenterRun(argc, argv)) return crash::RunPresenter(argc, argv, screen);
  rt::Program program = LibrarianProgram();
  program.screen = screen;
  return rt::RunProgram(argc, argv, program);
}
