#pragma once
// Bytes written as hexadecimal, for readable expectations: "F0 00 01 74 03".
#include <string>
#include <string_view>

namespace test_support {

// Upper-case digit pairs separated by blanks.
inline std::string HexBytes(std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text;
  for (unsigned char b : bytes) {
    if (!text.empty()) text += ' ';
    text += kDigits[b >> 4];
    text += kDigits[b & 0x0F];
  }
  return text;
}

// The bytes of a hexadecimal text: each blank-separated word is one byte of one or two
// digits, or a run of digit pairs ("1f8b08").
inline std::string BytesFromHex(std::string_view hex) {
  auto value = [](char c) { return c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10; };
  std::string bytes;
  std::size_t at = 0;
  while (at < hex.size()) {
    std::size_t end = hex.find(' ', at);
    if (end == std::string_view::npos) end = hex.size();
    std::string_view word = hex.substr(at, end - at);
    if (word.size() == 1) bytes += static_cast<char>(value(word[0]));
    for (std::size_t i = 0; word.size() > 1 && i + 1 < word.size(); i += 2)
      bytes += static_cast<char>(value(word[i]) * 16 + value(word[i + 1]));
    at = end + 1;
  }
  return bytes;
}

}  // namespace test_support
