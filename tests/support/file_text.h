#pragma once
// Whole files as bytes, for tests that read back what a program wrote.
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>

namespace test_support {

// The whole file; "" when it cannot be read.
inline std::string FileText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

inline void WriteFileText(const std::filesystem::path& path, std::string_view text) {
  std::ofstream(path, std::ios::binary) << text;
}

}  // namespace test_support
