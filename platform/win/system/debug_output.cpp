#include "platform/win/system/debug_output.h"

#include <mutex>

#include "platform/win/system/system_log.h"

namespace {
std::mutex gSinkLock;
win::DebugSink gSink;
}  // namespace

void OutputDebugStringA(const char* text) {
  if (text == nullptr) return;
  std::lock_guard lock(gSinkLock);
  if (gSink) {
    gSink(text);
    return;
  }
  win::WriteSystemLog(text);
}

namespace win {
DebugSink SetDebugSink(DebugSink sink) {
  std::lock_guard lock(gSinkLock);
  DebugSink previous = std::move(gSink);
  gSink = std::move(sink);
  return previous;
}
}  // namespace win
