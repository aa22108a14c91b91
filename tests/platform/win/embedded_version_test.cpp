#include <gtest/gtest.h>

#include <filesystem>

#include "platform/win/modules/embedded_version.h"
#include "tests/platform/test_files.h"

namespace {

namespace fs = std::filesystem;

std::string OwnFile() { return fs::read_symlink("/proc/self/exe").string(); }

TEST(EmbeddedVersion, OurProgramFileTellsItsVersion) {
  auto version = win::ReadEmbeddedVersion(OwnFile());
  ASSERT_TRUE(version);
  EXPECT_EQ(version->language, 0x0409);
  ASSERT_GE(version->strings.size(), 3u);
  EXPECT_EQ(version->strings[0], (std::pair<std::string, std::string>{"FileVersion", BOXWRIGHT_VERSION}));
  EXPECT_EQ(version->strings[2], (std::pair<std::string, std::string>{"ProductName", "Boxwright"}));

  // A copy keeps it.
  fs::copy_file(OwnFile(), "copy-of-program", fs::copy_options::overwrite_existing);
  EXPECT_TRUE(win::ReadEmbeddedVersion("copy-of-program"));
}

TEST(EmbeddedVersion, DamagedAndForeignFilesHaveNone) {
  std::string own = platform_test::FileText(OwnFile());
  std::string headerOnly = own.substr(0, 64);
  std::string noSectionTable = own.substr(0, own.size() / 2);
  std::string manySections = own;
  manySections[60] = '\xFF';  // e_shnum
  manySections[61] = '\xFF';
  std::string farSectionTable = own;
  for (int i = 40; i < 48; ++i) farSectionTable[i] = '\x7F';  // e_shoff
  std::string otherClass = own;
  otherClass[4] = 1;  // a 32-bit file

  for (const auto& [name, bytes] : std::initializer_list<std::pair<const char*, std::string>>{
           {"empty", ""}, {"text", "FileVersion 1.1.0"}, {"header only", headerOnly},
           {"cut in half", noSectionTable}, {"many sections", manySections},
           {"far section table", farSectionTable}, {"other class", otherClass}}) {
    platform_test::WriteFileText("damaged", bytes);
    EXPECT_FALSE(win::ReadEmbeddedVersion("damaged")) << name;
  }
  EXPECT_FALSE(win::ReadEmbeddedVersion("no-such-file"));
  EXPECT_FALSE(win::ReadEmbeddedVersion("/dev/zero"));
  EXPECT_FALSE(win::ReadEmbeddedVersion("/bin/sh"));
}

}  // namespace
