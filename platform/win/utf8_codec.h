#pragma once
// UTF-8 <-> UTF-16 with the replacement rules of the system's UTF-8 code page: each maximal
// ill-formed subsequence of UTF-8 becomes one U+FFFD, and so does each unpaired surrogate.
#include <cstddef>

#include "platform/win/code_page_output.h"

namespace win::codepage {

void DecodeUtf8(const unsigned char* bytes, std::size_t n, Output<char16_t>& out);
void EncodeUtf8(const char16_t* units, std::size_t n, Output<char>& out);

}  // namespace win::codepage
