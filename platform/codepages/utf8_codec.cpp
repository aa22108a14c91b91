#include "platform/codepages/utf8_codec.h"

#include <bit>
#include <cstdint>
#include <cstring>

#include "platform/codepages/code_page_sinks.h"
#include "platform/codepages/utf8_decoder.h"

namespace codepages {
namespace {

constexpr char16_t kReplacement = 0xFFFD;

bool IsHighSurrogate(char16_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool IsLowSurrogate(char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

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
  DecodeUtf8To(bytes, n, sink);
  return sink.count;
}

void DecodeUtf8(const unsigned char* bytes, std::size_t n, char16_t* units) {
  WritingSink<char16_t> sink{units};
  DecodeUtf8To(bytes, n, sink);
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

}  // namespace codepages
