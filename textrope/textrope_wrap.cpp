#include <algorithm>
#include <cstring>
#include <string>

#include "textrope/byte_text.h"
#include "textrope/textrope.h"

namespace {

constexpr char kVerticalTab = '\x0B';

bool IsBreakByte(char c) { return c == ' ' || c == kVerticalTab; }

}  // namespace

void Textrope::WrapText(LONG wrapAt) {
  const std::size_t length = value.size();
  if (wrapAt < 1 || static_cast<std::size_t>(wrapAt) >= length) return;
  const auto width = static_cast<std::size_t>(wrapAt);

  std::string wrapped;
  wrapped.reserve(length + length / width + 2);
  // 0-based: `start` opens the current window, `taken` counts the bytes already moved over.
  std::size_t start = 0;
  std::size_t taken = 0;
  while (start + width <= length) {
    std::size_t end = start + width;  // one past the window
    std::size_t at = end;
    while (at > start && !IsBreakByte(value[at - 1])) --at;
    if (at > start) {
      std::size_t breakAt = at - 1;
      wrapped.append(value, start, breakAt - start).append("\r\n");
      taken = breakAt + 1;
    } else {
      // No break byte: a word longer than the width stays whole.
      wrapped.append(value, start, width);
      taken = end;
    }
    start = taken;
  }
  if (taken < length) wrapped.append(value, taken, std::string::npos);
  value = std::string(wrapped);  // an exact-size block
}

LONG Textrope::StrCpy(std::string_view pIn, std::string& pOut, LONG pClip) {
  if (pClip != 0) pIn = textrope::Clipped(pIn);
  const std::size_t room = pOut.size();
  if (room == 0) return -1;
  const std::size_t copied = std::min(pIn.size(), room);
  std::memmove(pOut.data(), pIn.data(), copied);  // pIn may be a view of pOut
  std::fill(pOut.begin() + static_cast<std::ptrdiff_t>(copied), pOut.end(), ' ');
  return pIn.size() > room ? static_cast<LONG>(pIn.size()) : 0;
}
