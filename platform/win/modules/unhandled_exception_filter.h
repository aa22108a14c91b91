#pragma once
// SetUnhandledExceptionFilter over the signals that mean a fault (SIGSEGV, SIGBUS, SIGFPE,
// SIGILL, SIGTRAP, SIGABRT, SIGSYS). The handler runs on an alternate stack of the faulting
// thread, so a stack overflow reaches the filter too; it turns the signal into an exception
// record and a context (fault_description.h) and asks the filter:
//   EXCEPTION_CONTINUE_SEARCH (0): the process ends exactly as it would without a filter
//     (the signal's default action: status 128 + signal, a core where the system takes one);
//   EXCEPTION_EXECUTE_HANDLER (1): the process ends with status 128 + signal;
//   EXCEPTION_CONTINUE_EXECUTION (-1): the thread goes on with the context's registers.
// A fault inside the filter on the same thread is not filtered again: it ends the process.
#include "platform/win/modules/exception_records.h"

using LPTOP_LEVEL_EXCEPTION_FILTER = LONG (*)(EXCEPTION_POINTERS*);

// Installs the filter (nullptr: none) and returns the previous one. The handlers are set up
// on the first call; the calling thread gets its alternate stack.
LPTOP_LEVEL_EXCEPTION_FILTER SetUnhandledExceptionFilter(LPTOP_LEVEL_EXCEPTION_FILTER filter);

namespace win {
// Gives the calling thread a 64 KiB alternate signal stack (with a guard page) and notes its
// stack bounds, for as long as it runs. Every thread the program starts calls it first
// (attaching to the runtime does); it is cheap and idempotent.
void PrepareThreadForFaults();
// Whether the calling thread is inside the filter now (services that would allocate or wait
// for a lock hold back there).
bool InFaultHandler();
// The calling thread's stack bounds as noted by PrepareThreadForFaults; {0, 0} when unknown.
struct StackBounds {
  ULONG_PTR low;
  ULONG_PTR high;
};
StackBounds ThreadStackBounds();
}  // namespace win
