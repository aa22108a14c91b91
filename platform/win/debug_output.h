#pragma once
// The debugger channel. Lines go to stderr unless a capture is installed (tests).
#include <functional>
#include <string_view>

void OutputDebugStringA(const char* text);

namespace win {
using DebugSink = std::function<void(std::string_view)>;
// Installs a sink for every later OutputDebugStringA call; returns the previous one.
// An empty sink restores stderr.
DebugSink SetDebugSink(DebugSink sink);
}  // namespace win
