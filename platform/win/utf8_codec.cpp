#include "platform/win/utf8_codec.h"

#include <bit>
#include <cstdint>
#include <cstring>

#include "platform/win/code_page_sinks.h"

static_assert(std::endian::native == std::endian::little, "the ASCII scans read bytes as little-endian words");

namespace win::codepage {
namespace {

constexpr char16_t kReplacement = 0xFFFD;

// Length of the run of units below 80h that starts at `from`. A word (eight bytes) a step;
// the first unit of 80h or above is found from its bit's position.
template <class Unit>
std::size_t AsciiRun(const Unit* units, std::size_t from, std::size_t n) {
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

bool IsHighSurrogate(char16_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool IsLowSurrogate(char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

template <class Sink>
void Decode(const unsigned char* bytes, std::size_t n, Sink& out) {
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
      out.Put(kReplacement);
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
      out.Put(kReplacement);
    } else if (code >= 0x10000) {
      code -= 0x10000;
      out.Put(static_cast<char16_t>(0xD800 + (code >> 10)));
      out.Put(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
    } else {
      out.Put(static_cast<char16_t>(code));
    }
  }
}

template <class Sink>
void Encode(const char16_t* units, std::size_t n, Sink& out) {
  std::size_t i = 0;
  while (i < n) {
    std::uint32_t u = units[i];
    if (u < 0x80) {
      std::size_t run = AsciiRun(units, i, n);
      out.PutAscii(units + i, run);
      i += run;
      continue;
    }
    ++i;
    if (IsHighSurrogate(static_cast<char16_t>(u)) && i < n && IsLowSurrogate(units[i])) {
      u = 0x10000 + ((u - 0xD800) << 10) + (units[i] - 0xDC00u);
      ++i;
    } else if (IsHighSurrogate(static_cast<char16_t>(u)) || IsLowSurrogate(static_cast<char16_t>(u))) {
      u = kReplacement;
    }
    if (u < 0x800) {
      out.Put(static_cast<char>(0xC0 | (u >> 6)));
    } else if (u < 0x10000) {
      out.Put(static_cast<char>(0xE0 | (u >> 12)));
      out.Put(static_cast<char>(0x80 | ((u >> 6) & 0x3F)));
    } else {
      out.Put(static_cast<char>(0xF0 | (u >> 18)));
      out.Put(static_cast<char>(0x80 | ((u >> 12) & 0x3F)));
      out.Put(static_cast<char>(0x80 | ((u >> 6) & 0x3F)));
    }
    out.Put(static_cast<char>(0x80 | (u & 0x3F)));
  }
}

}  // namespace

std::size_t Utf8DecodedUnits(const unsigned char* bytes, std::size_t n) {
  CountingSink<char16_t> sink;
  Decode(bytes, n, sink);
  return sink.count;
}

void DecodeUtf8(const unsigned char* bytes, std::size_t n, char16_t* units) {
  WritingSink<char16_t> sink{units};
  Decode(bytes, n, sink);
}

std::size_t Utf8EncodedBytes(const char16_t* units, std::size_t n) {
  // Without surrogates every unit's length follows from its value alone. Plain sums, so the
  // compiler can take many units a step.
  std::size_t total = n;
  std::size_t surrogates = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const std::uint32_t u = units[i];
    total += (u >= 0x80) + (u >= 0x800);
    surrogates += (u & 0xF800) == 0xD800;
  }
  if (surrogates == 0) return total;
  CountingSink<char> sink;
  Encode(units, n, sink);
  return sink.count;
}

void EncodeUtf8(const char16_t* units, std::size_t n, char* bytes) {
  WritingSink<char> sink{bytes};
  Encode(units, n, sink);
}

}  // namespace win::codepage
