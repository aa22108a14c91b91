#include "links/link_text.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace links {

std::string Clip(std::string_view text) {
  size_t end = text.find_last_not_of(' ');
  return end == std::string_view::npos ? std::string() : std::string(text.substr(0, end + 1));
}

std::string Fit(std::string_view text, size_t width) { return Clip(text.substr(0, std::min(width, text.size()))); }

std::string Lower(std::string_view text) {
  std::string out(text);
  std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return std::tolower(c); });
  return out;
}

bool Contains(std::string_view text, std::string_view part) { return text.find(part) != std::string_view::npos; }

size_t Position(std::string_view text, std::string_view part, size_t from) {
  if (from < 1 || from > text.size()) return 0;
  size_t at = text.find(part, from - 1);
  return at == std::string_view::npos ? 0 : at + 1;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && Lower(text.substr(0, prefix.size())) == Lower(prefix);
}

long long NumberOf(std::string_view text) {
  std::string digits(text);
  return std::strtoll(digits.c_str(), nullptr, 10);
}

}  // namespace links
