#pragma once
// The toolkit's modules for the program's start-up list, in their order: they announce the
// control kinds of the toolkit's windows and free the message-name table at the end. The
// toolkit's per-thread state needs no hook: each thread gets it empty on first use and
// loses it when it ends.
#include <vector>

#include "platform/rt/module.h"

std::vector<rt::Module> kx_ToolkitModules();
