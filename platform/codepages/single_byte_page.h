#pragma once
// The tables of a single-byte code page (read once from iconv, see iconv_code_page.h) and the
// conversions between such a page and UTF-8 that skip UTF-16: one pass each, ASCII a word at
// a time, with exactly the results of the way through UTF-16 (the same U+FFFD for bytes that
// do not decode, the page's default character for what it cannot hold, one for each character
// beyond U+FFFF).
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>


namespace codepages {

struct SingleByteTables {
  static constexpr std::uint16_t kUnmapped = 0xFFFF;
  // decode: each byte's unit; defined: whether the byte stands for that unit both ways.
  SingleByteTables(const std::array<char16_t, 256>& decode, const std::array<bool, 256>& defined);

  std::array<char16_t, 256> decode;
  std::vector<std::uint16_t> encode;  // per unit: its byte, or kUnmapped (the lowest byte wins)
  bool asciiKept = true;              // bytes below 80h are the characters of the same number
  char defaultChar;                   // the byte of "?" in this page
  std::array<std::array<char, 4>, 256> utf8;  // each byte's UTF-8, its length in the last place
};

// Converts n bytes of the page; out has room for 3 * n bytes. Answers the bytes written.
std::size_t SingleByteToUtf8(const SingleByteTables& page, const unsigned char* in, std::size_t n, char* out);
// Converts n bytes of UTF-8, broken or not; out has room for n bytes. Answers the bytes written.
std::size_t Utf8ToSingleByte(const SingleByteTables& page, const unsigned char* in, std::size_t n, char* out);

// The tables of a code page when it is a single-byte page (0 is Windows-1252); null for
// UTF-8, multi-byte and composing pages and for numbers the system does not know.
std::shared_ptr<const SingleByteTables> FindSingleBytePage(unsigned codePage);

}  // namespace codepages
