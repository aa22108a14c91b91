#pragma once
// What the Textrope tests share: a capture of the debug output and a few ready-made values.
#include <string>
#include <string_view>
#include <vector>

#include "platform/win/debug_output.h"
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

// The bytes spelled by hexadecimal pairs; blanks between them are skipped.
inline std::string HexBytes(std::string_view hex) {
  std::string digits;
  for (char c : hex) {
    if (c != ' ') digits += c;
  }
  std::string bytes;
  for (std::size_t i = 0; i + 1 < digits.size(); i += 2) {
    bytes += static_cast<char>(std::stoi(digits.substr(i, 2), nullptr, 16));
  }
  return bytes;
}
