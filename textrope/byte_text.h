#pragma once
// Small byte-string helpers shared by the Textrope method files. Fixed texts keep their
// trailing blanks; "clipping" removes trailing blanks (20h) only.
#include <cstddef>
#include <limits>
#include <string_view>

#include "platform/win/types.h"

namespace textrope {

// Lengths and positions are LONG: no value may grow beyond this.
inline constexpr LONG kMaxLength = std::numeric_limits<LONG>::max();

inline std::string_view Clipped(std::string_view text) {
  std::size_t n = text.size();
  while (n > 0 && text[n - 1] == ' ') --n;
  return text.substr(0, n);
}

inline bool IsBlank(std::string_view text) { return Clipped(text).empty(); }

// The upper-case and lower-case mappings of the class touch ASCII letters only, so a value
// never changes meaning with the user's locale.
inline char UpperByte(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 0x20) : c; }
inline char LowerByte(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 0x20) : c; }

inline bool IsWordByte(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

}  // namespace textrope
