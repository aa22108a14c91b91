#pragma once
// Format, the trace: the stack walk's capture (stack_capture.h) made into the report's trace,
// level by level, each level's procedure resolved through the reporter's _GetSymbol and its
// frame scanned by _StackDump; each level done goes to the reporter's LevelProgress.
#include "crash/faultscribe.h"

namespace crash {
// Binds the debug-help procedures of the walk (the provider, and libunwind behind it, loaded
// and tried once) outside any fault: at fault time a cell is only read. PrepareFaultSequence
// calls it.
void PrepareStackWalk();
// The report's trace: the debug-help library bound as the design binds it, then _StackDetails;
// TextForDLLMissing instead when the library is missing.
void AppendStackTrace(FaultscribeClass& reporter, EXCEPTION_POINTERS* pointers, ReportText& report);
}  // namespace crash
