#pragma once
// Whole files as bytes, for tests that read back what a program wrote, and their lines.
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace test_support {

// The whole file; "" when it cannot be read.
inline std::string FileText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// The lines of a text, each without its `end`; a text that ends with one has no empty last line.
inline std::vector<std::string> Lines(const std::string& text, std::string_view end = "\r\n") {
  std::vector<std::string> lines;
  std::size_t at = 0;
  while (at < text.size()) {
    std::size_t stop = text.find(end, at);
    if (stop == std::string::npos) stop = text.size();
    lines.push_back(text.substr(at, stop - at));
    at = stop + end.size();
  }
  return lines;
}

inline void WriteFileText(const std::filesystem::path& path, std::string_view text) {
  std::ofstream(path, std::ios::binary) << text;
}

}  // namespace test_support
