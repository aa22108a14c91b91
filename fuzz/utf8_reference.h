#pragma once
// A plain reference UTF-8 decoder, written from the table of well-formed byte sequences and
// kept simple on purpose, to judge the program's own decoders and writers against.
#include <string>
#include <string_view>

namespace fuzz {

// The code points of the text; each maximal ill-formed subsequence becomes one U+FFFD.
inline std::u32string DecodeUtf8(std::string_view text) {
  std::u32string out;
  auto at = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  for (std::size_t i = 0; i < text.size();) {
    const unsigned char lead = at(i);
    if (lead < 0x80) {
      out += lead;
      ++i;
      continue;
    }
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
    char32_t code = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2, code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3, code = lead & 0x0F;
      if (lead == 0xE0) low = 0xA0;
      if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4, code = lead & 0x07;
      if (lead == 0xF0) low = 0x90;
      if (lead == 0xF4) high = 0x8F;
    }
    std::size_t taken = 1;
    bool whole = length > 0;
    for (; whole && taken < length; ++taken) {
      if (i + taken >= text.size()) {
        whole = false;
        break;
      }
      const unsigned char next = at(i + taken);
      const bool fits = taken == 1 ? (next >= low && next <= high) : (next >= 0x80 && next <= 0xBF);
      if (!fits) {
        whole = false;
        break;
      }
      code = code << 6 | (next & 0x3F);
    }
    out += whole ? code : U'\uFFFD';
    i += taken;
  }
  return out;
}

inline std::string EncodeUtf8(std::u32string_view codes) {
  std::string out;
  for (char32_t c : codes) {
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | c >> 6);
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | c >> 12);
      out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | c >> 18);
      out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
      out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

// Valid exactly when decoding replaced nothing, so encoding gives the same bytes back.
inline bool IsValidUtf8(std::string_view text) { return EncodeUtf8(DecodeUtf8(text)) == text; }

}  // namespace fuzz
