#pragma once
// The UTF-8 decoder under the code-page calls, written over a sink (code_page_sinks.h) so
// that one decoder serves counting, writing UTF-16 and writing a single-byte page. Each
// maximal ill-formed subsequence becomes one U+FFFD, as the system's UTF-8 page does.
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

static_assert(std::endian::native == std::endian::little, "the ASCII scans read bytes as little-endian words");

namespace codepages {

// Length of the run of units below 80h that starts at `from`. A word (eight bytes) a step;
// the first unit of 80h or above is found from its bit's position.
template <class Unit>
inline std::size_t AsciiRun(const Unit* units, std::size_t from, std::size_t n) {
  constexpr std::size_t kPerWord = 8 / sizeof(Unit);
  constexpr std::uint64_t kNotAscii = sizeof(Unit) == 1 ? 0x8080808080808080ull : 0xFF80FF80FF80FF80ull;
  std::size_t i = from;
  for (std::uint64_t word; i + kPerWord <= n; i += kPerWord) {
    std::memcpy(&word, units + i, 8);
    if (std::uint64_t high = word & kNotAscii; high != 0) {
      return i + static_cast<std::size_t>(std::countr_zero(high)) / (8 * sizeof(Unit)) - from;
    }
  }
  while (i < n && units[i] < 0x80) ++i;
  return i - from;
}

// Calls out.PutAscii for runs of ASCII and out.Put for every other unit, surrogate pairs
// for characters beyond U+FFFF.
template <class Sink>
inline void DecodeUtf8To(const unsigned char* bytes, std::size_t n, Sink& out) {
  std::size_t i = 0;
  while (i < n) {
    if (bytes[i] < 0x80) {
      std::size_t run = AsciiRun(bytes, i, n);
      out.PutAscii(bytes + i, run);
      i += run;
      continue;
    }
    const unsigned lead = bytes[i];
    int trailing = 0;
    unsigned low = 0x80, high = 0xBF;  // the range of the first trailing byte
    std::uint32_t code = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
      trailing = 1;
      code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      trailing = 2;
      code = lead & 0x0F;
      if (lead == 0xE0) low = 0xA0;   // no overlong forms
      if (lead == 0xED) high = 0x9F;  // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      trailing = 3;
      code = lead & 0x07;
      if (lead == 0xF0) low = 0x90;
      if (lead == 0xF4) high = 0x8F;  // nothing above U+10FFFF
    } else {
      out.Put(char16_t{0xFFFD});
      ++i;
      continue;
    }
    std::size_t next = i + 1;
    bool whole = true;
    for (int k = 0; k < trailing; ++k, ++next) {
      if (next >= n || bytes[next] < low || bytes[next] > high) {
        whole = false;
        break;
      }
      code = (code << 6) | (bytes[next] & 0x3Fu);
      low = 0x80;
      high = 0xBF;
    }
    i = next;  // a broken sequence is dropped up to the byte that broke it
    if (!whole) {
      out.Put(char16_t{0xFFFD});
    } else if (code >= 0x10000) {
      code -= 0x10000;
      out.Put(static_cast<char16_t>(0xD800 + (code >> 10)));
      out.Put(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
    } else {
      out.Put(static_cast<char16_t>(code));
    }
  }
}

}  // namespace codepages
