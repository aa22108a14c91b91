#include "platform/codepages/single_byte_page.h"

#include <cstring>

#include "platform/codepages/iconv_code_page.h"
#include "platform/codepages/utf8_decoder.h"

namespace codepages {
namespace {

std::array<char, 4> Utf8Of(char16_t unit) {
  std::array<char, 4> bytes{};
  const unsigned u = unit;
  if (u < 0x80) {
    bytes = {static_cast<char>(u), 0, 0, 1};
  } else if (u < 0x800) {
    bytes = {static_cast<char>(0xC0 | (u >> 6)), static_cast<char>(0x80 | (u & 0x3F)), 0, 2};
  } else {
    bytes = {static_cast<char>(0xE0 | (u >> 12)), static_cast<char>(0x80 | ((u >> 6) & 0x3F)),
             static_cast<char>(0x80 | (u & 0x3F)), 3};
  }
  return bytes;
}

bool AllAscii(const unsigned char* bytes) {
  std::uint64_t word;
  std::memcpy(&word, bytes, 8);
  return (word & 0x8080808080808080ull) == 0;
}

// Receives the decoder's units and writes the page's bytes. A character beyond U+FFFF comes
// as a surrogate pair and gets one default character, as WideCharToMultiByte gives it; the
// decoder never yields a lone surrogate.
struct PageSink {
  const SingleByteTables& page;
  char* at;
  void Put(char16_t unit) {
    if (unit >= 0xDC00 && unit <= 0xDFFF) return;  // the second half of a pair
    const std::uint16_t byte = page.encode[unit];
    *at++ = byte == SingleByteTables::kUnmapped ? page.defaultChar : static_cast<char>(byte);
  }
  void PutAscii(const unsigned char* from, std::size_t n) {
    if (page.asciiKept) {
      std::memcpy(at, from, n);
      at += n;
      return;
    }
    for (std::size_t i = 0; i < n; ++i) Put(from[i]);
  }
};

}  // namespace

SingleByteTables::SingleByteTables(const std::array<char16_t, 256>& decodeTable, const std::array<bool, 256>& defined)
    : decode(decodeTable), encode(0x10000, kUnmapped) {
  for (int b = 255; b >= 0; --b) {
    if (defined[b]) encode[decode[b]] = static_cast<std::uint16_t>(b);
  }
  for (int b = 0; b < 0x80; ++b) asciiKept = asciiKept && defined[b] && decode[b] == b;
  const std::uint16_t question = encode[u'?'];
  defaultChar = question == kUnmapped ? '?' : static_cast<char>(question);
  for (int b = 0; b < 256; ++b) utf8[b] = Utf8Of(decode[b]);
}

std::size_t SingleByteToUtf8(const SingleByteTables& page, const unsigned char* in, std::size_t n, char* out) {
  char* const start = out;
  std::size_t i = 0;
  while (i < n) {
    if (page.asciiKept && i + 8 <= n && AllAscii(in + i)) {
      std::memcpy(out, in + i, 8);
      out += 8;
      i += 8;
      continue;
    }
    // Four bytes are stored whatever the length: the room for three per byte covers them,
    // but for the last byte, which is stored exactly.
    const std::array<char, 4>& code = page.utf8[in[i]];
    const std::size_t length = static_cast<unsigned char>(code[3]);
    if (i + 1 < n) {
      std::memcpy(out, code.data(), 4);
    } else {
      std::memcpy(out, code.data(), length);
    }
    out += length;
    ++i;
  }
  return static_cast<std::size_t>(out - start);
}

std::size_t Utf8ToSingleByte(const SingleByteTables& page, const unsigned char* in, std::size_t n, char* out) {
  PageSink sink{page, out};
  DecodeUtf8To(in, n, sink);
  return static_cast<std::size_t>(sink.at - out);
}

std::shared_ptr<const SingleByteTables> FindSingleBytePage(unsigned codePage) {
  if (codePage == 65001) return nullptr;
  std::shared_ptr<const IconvPage> page = FindIconvPage(codePage);
  if (page == nullptr || page->Tables() == nullptr) return nullptr;
  return std::shared_ptr<const SingleByteTables>(page, page->Tables());
}

}  // namespace codepages
