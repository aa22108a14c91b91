#pragma once
// Fixed-width upper-case hexadecimal text for addresses, codes and words.
#include <string>

#include "platform/win/types.h"

// The digit of 0..15; "#" for anything else.
std::string kx_NIB2HEX(LONG value);
// Exactly `length` digits, zero-padded on the left. A value that needs more digits shows
// "#" in the first place followed by its low length-1 digits.
std::string kx_FormatHex(ULONG value, BYTE length);
