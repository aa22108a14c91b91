#include "toolkit/toolkit_lock.h"

#include <string>

#include "platform/rt/thread.h"
#include "toolkit/debug_output.h"
#include "toolkit/tracing.h"

namespace hw {
CriticalSection CRITICALSECTION;
}

namespace {
void TraceLock(const char* label, const char* what) {
  if (label == nullptr || !kx_Switch("/debugWaitRelease")) return;
  std::string line = std::string("Wait/Release Check. ") + label + ": " + what;
  kx_OutputDebugString(line + " Thread: " + std::to_string(THREAD()), 1);
}
}  // namespace

ToolkitLockHold::ToolkitLockHold(const char* traceLabel) : label_(traceLabel) {
  TraceLock(label_, "Wait!");
  hw::CRITICALSECTION.Wait();
}

void ToolkitLockHold::Release() {
  if (!held_) return;
  held_ = false;
  TraceLock(label_, "Release!");
  hw::CRITICALSECTION.Release();
}
