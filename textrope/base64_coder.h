#pragma once
// Base64 (the standard alphabet with "=" padding) over plain byte buffers, for Textrope.
// Output never goes beyond the buffer it is given; `complete` says whether all of it fit.
#include <cstddef>

namespace textrope {

struct CodedSize {
  std::size_t written = 0;
  bool complete = true;
};

// The encoded length of n bytes, with a CR LF after every 76 characters when wrapping.
std::size_t Base64EncodedSize(std::size_t n, bool wrap);

// Encodes n bytes. Stops at the first character (or CR LF) that does not fit, and begins a
// new group only while at least two characters fit.
CodedSize Base64EncodeInto(const unsigned char* in, std::size_t n, char* out, std::size_t room, bool wrap);

// Decodes n characters; bytes outside the alphabet are skipped. A group gives one byte per
// digit before its padding, less one ("YQ==" one byte, "====" none); a last group cut short
// counts only when it has padding ("YQ=" one byte, "YQ" none). A group that does not fit
// ends the decoding. `out` may be `in` itself: the output never overtakes the input.
CodedSize Base64DecodeInto(const unsigned char* in, std::size_t n, unsigned char* out, std::size_t room);

}  // namespace textrope
