#pragma once
// Files of the platform tests. ctest runs the tests of one binary side by side in one folder,
// so each test names its files after itself.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <string_view>

#include "tests/support/file_text.h"

namespace platform_test {

inline std::string TestName() { return ::testing::UnitTest::GetInstance()->current_test_info()->name(); }

using test_support::FileText;
using test_support::WriteFileText;

// A fresh, empty folder named after the running test, removed (made writable first) at the end.
class ScratchFolder {
 public:
  ScratchFolder() : path(std::filesystem::current_path() / (TestName() + ".d")) {
    std::filesystem::remove_all(path);
    std::filesystem::create_directories(path);
  }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::permissions(path, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  std::size_t Entries() const {
    return static_cast<std::size_t>(
        std::distance(std::filesystem::directory_iterator(path), std::filesystem::directory_iterator()));
  }

  const std::filesystem::path path;
};

}  // namespace platform_test
