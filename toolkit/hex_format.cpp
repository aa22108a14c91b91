#include "toolkit/hex_format.h"

std::string kx_NIB2HEX(LONG value) {
  if (value < 0 || value > 15) return "#";
  return std::string(1, "0123456789ABCDEF"[value]);
}

std::string kx_FormatHex(ULONG value, BYTE length) {
  if (length == 0) return {};
  // Digits from the right, so that any length pads correctly; the first place takes what
  // is left and shows "#" when that is more than one digit.
  std::string text(length, '0');
  std::uint64_t rest = value;
  for (size_t place = length - 1; place > 0; --place) {
    text[place] = kx_NIB2HEX(static_cast<LONG>(rest & 0xF))[0];
    rest >>= 4;
  }
  text[0] = rest > 15 ? '#' : kx_NIB2HEX(static_cast<LONG>(rest))[0];
  return text;
}
