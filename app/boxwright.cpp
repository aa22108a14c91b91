// Boxwright: the cabinet librarian, on the screen users see.
#include "app/librarian_program.h"
#include "platform/qt/make_qt_screen.h"
#include "platform/rt/module.h"

int main(int argc, char** argv) {
  rt::Program program = LibrarianProgram();
  program.screen = qtscreen::MakeQtScreen;
  return rt::RunProgram(argc, argv, program);
}
