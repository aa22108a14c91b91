// Test main: ctest runs every test case as its own process, in parallel, and all cases of one
// binary share a working folder. A case that writes "settings.ini" or a transcript must not
// meet another case doing the same, so each case runs in a fresh folder of its own name.
// Every case also runs on a private desktop that opens nothing, so what the user's home or
// the machine's installed programs hold never decides a result; a case that needs handlers
// makes a desktop of its own over it. The debugger channel of a test run goes nowhere, not to
// the machine's system log (a test that reads it names a socket of its own).
#include <gtest/gtest.h>

#include <stdlib.h>

#include <cctype>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/private_desktop.h"

namespace {

// The folder for a filter naming exactly one case ("Suite.Case"); empty for anything else
// (listing the cases, or a hand-run of several).
std::string CaseFolder(const std::string& filter) {
  if (filter.empty() || filter.find_first_of("*?:-") != std::string::npos) return {};
  std::string folder;
  for (char c : filter) folder += (std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '_') ? c : '_';
  return folder;
}

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  std::string folder = CaseFolder(GTEST_FLAG_GET(filter));
  if (!folder.empty()) {
    namespace fs = std::filesystem;
    std::error_code ignored;
    fs::remove_all(folder, ignored);
    fs::create_directories(folder);
    fs::current_path(folder);
  }
  setenv("BOXWRIGHT_SYSTEM_LOG", "", 0);
  // A death test's child runs this again, on the desktop of the case that started it.
  std::optional<test_support::PrivateDesktop> desktop;
  if (GTEST_FLAG_GET(internal_run_death_test).empty()) desktop.emplace(std::vector<std::string>{});
  return RUN_ALL_TESTS();
}
