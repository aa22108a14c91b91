#include "toolkit/tracing.h"

#include "platform/rt/command.h"

bool kx_Tracing() { return kx_Switch("/debug"); }

bool kx_Switch(const char* name) { return !COMMAND(name).empty(); }
