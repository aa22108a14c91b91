// Boxwright: the cabinet librarian, on the screen users see.
#include "app/librarian_program.h"
#include "crash/presenter.h"
#include "platform/qt/make_qt_screen.h"
#include "platform/rt/module.h"

int main(int argc, char** argv) {
  // The program started again by its own crash reporter, to show the fault to the user.
  if (crash::IsPresenterRun(argc, argv)) return crash::RunPresenter(argc, argv, qtscreen::MakeQtScreen);
  rt::Program program = LibrarianProgram();
  program.screen = qtscreen::MakeQtScreen;
  return rt::RunProgram(argc, argv, program);
}
