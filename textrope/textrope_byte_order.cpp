#include <algorithm>
#include <bit>

#include "textrope/textrope.h"

static_assert(std::endian::native == std::endian::little, "LittleEndian and BigEndian assume a little-endian machine");

void Textrope::ReverseByteOrder() { std::reverse(value.begin(), value.end()); }

ULONG Textrope::SwitchEndian(ULONG x) {
  return ((x & 0x000000FFu) << 24) | ((x & 0x0000FF00u) << 8) | ((x & 0x00FF0000u) >> 8) | ((x & 0xFF000000u) >> 24);
}

ULONG Textrope::BigEndian(ULONG x) { return SwitchEndian(x); }

// Native order already is little-endian here; swapping would hand callers the big-endian form.
ULONG Textrope::LittleEndian(ULONG x) { return x; }
