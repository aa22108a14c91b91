#pragma once
// SYSTEM{...}: properties of the runtime itself. PROP::Target reads the target window
// (as a pointer-sized number, 0 when none), PROP::ExeVersion the runtime's version times
// 1000; both are read only. The hooks (PROP::LastChanceHook, PROP::MessageHook) are
// pointer-sized cells the program sets and reads back, safe to read on the fault path. The
// runtime calls the last-chance hook with its fatal errors (fatal_error.h); the message
// hook it does not call.
#include <string>
#include <string_view>

#include "platform/win/types.h"

namespace rt {
LONG_PTR SystemProp(int prop);
std::string SystemText(int prop);
void SetSystemProp(int prop, LONG_PTR value);
void SetSystemText(int prop, std::string_view value);
}  // namespace rt
