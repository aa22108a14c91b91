#pragma once
// Small byte-string helpers shared by the Textrope method files. Fixed texts keep their
// trailing blanks; "clipping" removes trailing blanks (20h) only.
#include <cstddef>
#include <limits>
#include <string_view>

#include "platform/win/system/ascii_text.h"
#include "platform/win/types.h"

namespace textrope {

// Lengths and positions are LONG: no value may grow beyond this.
inline constexpr LONG kMaxLength = std::numeric_limits<LONG>::max();

using win::Clipped;

inline bool IsBlank(std::string_view text) { return Clipped(text).empty(); }

// The upper-case and lower-case mappings of the class touch ASCII letters only, so a value
// never changes meaning with the user's locale.
using win::LowerByte;
using win::UpperByte;

inline bool IsWordByte(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

}  // namespace textrope
