#pragma once
// What the Textrope tests share: a capture of the debug output and a few ready-made values.
#include <string>
#include <string_view>
#include <vector>

#include "platform/win/system/debug_output.h"
#include "tests/support/hex_text.h"
#include "textrope/textrope.h"

// Collects the debug-output lines written while it lives.
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

// The value that `edit` leaves in a Textrope that held `value`.
template <typename Edit>
std::string Edited(std::string_view value, Edit edit) {
  Textrope t;
  t.SetValue(value);
  edit(t);
  return t.value;
}

// Every byte value once, in order.
inline std::string AllBytes() {
  std::string bytes;
  for (int i = 0; i < 256; ++i) bytes += static_cast<char>(i);
  return bytes;
}

using test_support::BytesFromHex;
