#pragma once
// The debugger channel, which nobody sees unless a tool listens: lines go to the system log
// at debug priority (system_log.h), never to the terminal, unless a capture is installed
// (tests).
#include <functional>
#include <string_view>

void OutputDebugStringA(const char* text);

namespace win {
using DebugSink = std::function<void(std::string_view)>;
// Installs a sink for every later OutputDebugStringA call; returns the previous one.
// An empty sink restores the system log.
DebugSink SetDebugSink(DebugSink sink);
}  // namespace win
