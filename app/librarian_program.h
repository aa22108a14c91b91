#pragma once
// The librarian as the runtime starts it: its module (start-up and shutdown of the
// application's state), its place in the module list, and its main procedure.
#include "platform/rt/module.h"

// The application's own module.
rt::Module LibrarianModule();
// Every module of the program, in start-up order, and the main procedure.
rt::Program LibrarianProgram();
// The main procedure: settings, session hooks, the main window, settings again.
void _main();
