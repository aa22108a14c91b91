#pragma once
// Base64 encoding 24 bytes at a time with AVX2, for the processors that have it. The
// portable coder does the rest of the value, and all of it elsewhere.
#include <cstddef>

namespace textrope {

// Encodes the longest stretch at the start of in that goes whole: full lines of 57 bytes
// (76 characters and a CR LF) when wrapping, groups of 24 bytes otherwise. Answers how many
// bytes it took, 0 where the processor has no AVX2. Writes exactly the characters of those
// bytes to out.
std::size_t Base64EncodeWide(const unsigned char* in, std::size_t n, char* out, bool wrap);

}  // namespace textrope
