#pragma once
// The stack trace of a report: binding the debug-help library and walking the stack
// (faultscribe_stack.cpp). Appends to the report what the walk gives.
#include "crash/faultscribe.h"

namespace crash {
// Binds everything the walk and the look-up need (the debug-help provider and libunwind
// behind it, the kernel32 module query) and reads the module list, outside any fault: at
// fault time nothing is loaded or allocated. Construct calls it.
void PrepareStackWalk();
void AppendStackTrace(FaultscribeClass& reporter, EXCEPTION_POINTERS* pointers, ReportText& report);
}  // namespace crash
