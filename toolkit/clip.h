#pragma once
// The platform's CLIP: a text without its trailing blanks.
#include <string_view>

inline std::string_view Clip(std::string_view text) {
  size_t end = text.find_last_not_of(' ');
  return end == std::string_view::npos ? std::string_view{} : text.substr(0, end + 1);
}
