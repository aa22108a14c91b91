#pragma once
// The whole of a file as bytes ("" when it cannot be read).
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace app_test {

inline std::string FileText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace app_test
