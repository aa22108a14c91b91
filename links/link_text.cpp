#include "links/link_text.h"

#include <algorithm>
#include <cstdlib>

#include "platform/win/system/ascii_text.h"

namespace links {

std::string Clip(std::string_view text) { return std::string(win::Clipped(text)); }

std::string Fit(std::string_view text, size_t width) { return Clip(text.substr(0, std::min(width, text.size()))); }

bool Contains(std::string_view text, std::string_view part) { return text.find(part) != std::string_view::npos; }

size_t Position(std::string_view text, std::string_view part, size_t from) {
  if (from < 1 || from > text.size()) return 0;
  size_t at = text.find(part, from - 1);
  return at == std::string_view::npos ? 0 : at + 1;
}

long long NumberOf(std::string_view text) {
  std::string digits(text);
  return std::strtoll(digits.c_str(), nullptr, 10);
}

}  // namespace links
