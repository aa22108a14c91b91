#include "platform/win/files/file_replacement.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <functional>

#include "platform/win/system/last_error.h"
#include "tests/platform/test_files.h"
#include "tests/support/special_files.h"

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

// What stands at the name is left exactly as it was, and nothing is made beside it.
TEST_F(FileReplacement, RefusesAReadOnlyFileAndWhatIsNotAFile) {
  struct Case {
    const char* name;
    std::function<void()> make;
    win::Replacement answer;
  } cases[] = {
      {"a read-only file",
       [&] {
         WriteFileText(file, "old");
         fs::permissions(file, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
       },
       win::Replacement::ReadOnly},
      {"a FIFO without a reader", [&] { test_support::MakeFifo(file); }, win::Replacement::NotAFile},
      {"a socket", [&] { test_support::MakeSocket(file); }, win::Replacement::NotAFile},
      {"a link to nothing", [&] { fs::create_symlink(dir / "gone", file); }, win::Replacement::NotAFile},
      {"a link to /dev/null", [&] { fs::create_symlink("/dev/null", file); }, win::Replacement::NotAFile},
  };
  for (const Case& c : cases) {
    for (bool keepOld : {false, true}) {
      fs::remove(file);
      c.make();
      const fs::file_status before = fs::symlink_status(file);
      EXPECT_EQ(win::ReplaceFileContents(file.string(), "new", keepOld), c.answer) << c.name;
      EXPECT_NE(GetLastError(), 0u) << c.name;
      EXPECT_EQ(fs::symlink_status(file).type(), before.type()) << c.name;
      EXPECT_EQ(fs::symlink_status(file).permissions(), before.permissions()) << c.name;
      if (fs::is_regular_file(fs::symlink_status(file))) {
        EXPECT_EQ(FileText(file), "old") << c.name;
      }
      EXPECT_FALSE(fs::exists(dir / "gone")) << c.name;
      EXPECT_EQ(scratch.Entries(), 1u) << c.name << ": nothing made beside it";
    }
  }
}

// A process killed between writing and renaming leaves the old file whole. Where a named
// new file had to be used, the next replacement removes it once its process is gone.
TEST_F(FileReplacement, ASaveKilledBeforeItsRenameLeavesTheOldFileAndNoLeftover) {
  WriteFileText(file, "old contents");
  pid_t writer = ::fork();
  ASSERT_GE(writer, 0);
  if (writer == 0) {
    win::PendingReplacement replacement(file.string(), false);
    replacement.Write(std::string(1 << 20, 'n'));
    ::raise(SIGKILL);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(writer, &status, 0), writer);
  ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
  EXPECT_EQ(FileText(file), "old contents");
  EXPECT_EQ(scratch.Entries(), 1u);

  // The named leftovers such a process leaves where unnamed files are not to be had.
  const std::string gone = std::to_string(writer);
  const std::string living = std::to_string(::getppid());
  for (const std::string& name : {"data.tmp-" + gone + "-0", "data.tmp-" + gone + "-17", "data.tmp-" + living + "-0",
                                  "other.tmp-" + gone + "-0", "data.tmp-" + gone + "-x"}) {
    WriteFileText(dir / name, "leftover");
  }
  ASSERT_EQ(win::ReplaceFileContents(file.string(), "new"), win::Replacement::Done);
  EXPECT_EQ(FileText(file), "new");
  EXPECT_FALSE(fs::exists(dir / ("data.tmp-" + gone + "-0")));
  EXPECT_FALSE(fs::exists(dir / ("data.tmp-" + gone + "-17")));
  EXPECT_EQ(scratch.Entries(), 4u) << "a living process's file, another file's and a name of another shape stay";
}

}  // namespace
