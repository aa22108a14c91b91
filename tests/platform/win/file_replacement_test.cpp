#include "platform/win/file_replacement.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <functional>

#include "platform/win/last_error.h"
#include "tests/platform/test_files.h"

namespace {

namespace fs = std::filesystem;

using platform_test::FileText;
using platform_test::WriteFileText;

class FileReplacement : public ::testing::Test {
 protected:
  platform_test::ScratchFolder scratch;
  const fs::path& dir = scratch.path;
  const fs::path file = dir / "data";
};

TEST_F(FileReplacement, ReplacesOrAppendsKeepingModeAndSymbolicLink) {
  fs::path real = dir / "real";
  WriteFileText(real, "old");
  fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write);
  fs::create_symlink(real, file);
  ASSERT_EQ(win::ReplaceFileContents(file.string(), "new"), win::Replacement::Done);
  ASSERT_EQ(win::ReplaceFileContents(file.string(), "+more", true), win::Replacement::Done);
  EXPECT_TRUE(fs::is_symlink(file));
  EXPECT_EQ(FileText(real), "new+more");
  EXPECT_EQ(fs::status(real).permissions(), fs::perms::owner_read | fs::perms::owner_write);
  ASSERT_EQ(win::ReplaceFileContents((dir / "fresh").string(), "x", true), win::Replacement::Done);
  EXPECT_EQ(FileText(dir / "fresh"), "x") << "appending to no file creates it";
  EXPECT_EQ(scratch.Entries(), 3u);
}

TEST_F(FileReplacement, FailureLeavesTheOldFileAndNoTemporary) {
  struct Case {
    const char* name;
    std::function<void()> hinder, undo;
    win::Replacement step;
    bool asRootToo;
  };
  // A file-size limit stops the write half way, as a full disk would.
  rlimit saved{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  const Case cases[] = {
      {"disk full", [&] { rlimit tight = saved; tight.rlim_cur = 40; ::setrlimit(RLIMIT_FSIZE, &tight); },
       [&] { ::setrlimit(RLIMIT_FSIZE, &saved); }, win::Replacement::CannotWrite, true},
      {"unwritable folder", [&] { fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec); },
       [&] { fs::permissions(dir, fs::perms::owner_all); }, win::Replacement::CannotCreate, false},
  };
  for (const Case& c : cases) {
    if (!c.asRootToo && ::geteuid() == 0) continue;  // permissions do not bind root
    WriteFileText(file, "old contents");
    c.hinder();
    win::Replacement step = win::ReplaceFileContents(file.string(), std::string(100, 'x'));
    c.undo();
    EXPECT_EQ(step, c.step) << c.name;
    EXPECT_NE(GetLastError(), 0u) << c.name;
    EXPECT_EQ(FileText(file), "old contents") << c.name;
    EXPECT_EQ(scratch.Entries(), 1u) << c.name << ": no temporary left";
  }
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_EQ(win::ReplaceFileContents(dir.string(), "x"), win::Replacement::CannotCreate) << "a folder";
  EXPECT_EQ(GetLastError(), ErrorCodeFromErrno(EISDIR));
}

}  // namespace
