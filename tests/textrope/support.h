#pragma once
// Collects the debug-output lines written while it lives.
#include <string>
#include <vector>

#include "platform/win/debug_output.h"

class TraceCapture {
 public:
  TraceCapture() {
    previous_ = win::SetDebugSink([this](std::string_view line) { lines.emplace_back(line); });
  }
  ~TraceCapture() { win::SetDebugSink(std::move(previous_)); }
  TraceCapture(const TraceCapture&) = delete;
  TraceCapture& operator=(const TraceCapture&) = delete;

  std::vector<std::string> lines;

 private:
  win::DebugSink previous_;
};
