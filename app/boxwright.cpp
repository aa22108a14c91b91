// Boxwright: the cabinet librarian.
#include "app/librarian_program.h"
#include "platform/rt/module.h"

int main(int argc, char** argv) { return rt::RunProgram(argc, argv, LibrarianProgram()); }
