#pragma once
// The digit work under the Textrope hexadecimal and number-base methods, sixteen bytes at a
// time where the processor allows.
#include <cstddef>
#include <string_view>

#include "platform/win/types.h"

namespace textrope {

// The number spelled by text in base (trailing blanks ignored; digits not below base are
// skipped and take no place; 32-bit wrap-around).
ULONG ParseDigits(std::string_view text, LONG base);

// Writes two digits for each of count bytes to out (2 * count characters).
void EncodeHex(const char* bytes, std::size_t count, char* out, bool upperCase);

// Encodes the count bytes at the start of buffer into the 2 * count characters of buffer
// itself, from the back, so no byte is overwritten before it is read.
void EncodeHexInPlace(char* buffer, std::size_t count, bool upperCase);

// Writes one byte for each of count character pairs of text to out, each pair read as
// ParseDigits(pair, 16) would read it. out may be text itself: the output never overtakes the
// input.
void DecodeHexPairs(const char* text, std::size_t count, char* out);

}  // namespace textrope
