#pragma once
// Runtime threads. A thread gets its runtime data on first use of any runtime service;
// AttachThreadToRuntime makes that explicit for threads the runtime did not start (a
// window procedure called on a back-end thread, a fault handler). Both are cheap and
// idempotent: the thread-start hooks run once per thread, the thread-end hooks when it ends.
// Inside a fault handler both make nothing new (the heap may be broken): THREAD() then tells
// the window services' number of the thread, or 0 for a thread that never had one.
#include <functional>

#include "platform/win/types.h"

// The calling thread's runtime number (the same number the window services use).
LONG THREAD();
void AttachThreadToRuntime(int attach = 1);

namespace rt {
// Registers hooks that run on every thread: `start` when a thread attaches (threads attached
// already run it at their next use of the runtime), `end` on that thread when it ends, in reverse
// order of registration. Modules register theirs through the module list (module.h).
void AddThreadHooks(std::function<void()> start, std::function<void()> end);
// Runs the calling thread's end hooks now (the main thread at program end); later attaches
// of the same thread do not run them again.
void DetachThreadFromRuntime();
}  // namespace rt
