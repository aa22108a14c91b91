#pragma once
// The stack trace of a report: binding the debug-help library and walking the stack
// (faultscribe_stack.cpp). Appends to the report what the walk gives.
#include "crash/faultscribe.h"

namespace crash {
void AppendStackTrace(FaultscribeClass& reporter, EXCEPTION_POINTERS* pointers, ReportText& report);
}  // namespace crash
