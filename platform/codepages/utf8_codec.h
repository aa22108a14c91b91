#pragma once
// UTF-8 <-> UTF-16 with the replacement rules of the system's UTF-8 code page: each maximal
// ill-formed subsequence of UTF-8 becomes one U+FFFD, and so does each unpaired surrogate.
// The writing calls take a destination with room for exactly the count.
#include <cstddef>

namespace codepages {

std::size_t Utf8DecodedUnits(const unsigned char* bytes, std::size_t n);
void DecodeUtf8(const unsigned char* bytes, std::size_t n, char16_t* units);

std::size_t Utf8EncodedBytes(const char16_t* units, std::size_t n);
void EncodeUtf8(const char16_t* units, std::size_t n, char* bytes);

}  // namespace codepages
