#pragma once
// Trailing blanks and letter case, written once for every layer. Case touches the ASCII
// letters only, so a key, a switch or a file name never changes meaning with the user's
// locale; clipping removes trailing blanks (20h) only, as fixed-width fields pad with them.
#include <algorithm>
#include <string>
#include <string_view>

namespace win {

inline std::string_view Clipped(std::string_view text) {
  std::size_t n = text.size();
  while (n > 0 && text[n - 1] == ' ') --n;
  return text.substr(0, n);
}

inline char UpperByte(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 0x20) : c; }
inline char LowerByte(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 0x20) : c; }

inline std::string Upper(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = UpperByte(c);
  return out;
}

inline std::string Lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = LowerByte(c);
  return out;
}

inline bool EqualNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return LowerByte(x) == LowerByte(y); });
}

inline bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && EqualNoCase(text.substr(0, prefix.size()), prefix);
}

}  // namespace win
