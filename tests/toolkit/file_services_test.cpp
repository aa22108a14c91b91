#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <ctime>
#include <fstream>

#include "tests/support/file_text.h"
#include "tests/support/short_folder.h"
#include "toolkit/error_state.h"
#include "toolkit/file_services.h"
#include "toolkit_test_support.h"

namespace {

namespace fs = std::filesystem;

class FileServices : public ::testing::Test {
 protected:
  std::string Path(const std::string& name) const { return (folder_ / name).string(); }
  void Write(const std::string& name, const std::string& bytes) const { std::ofstream(Path(name)) << bytes; }
  std::string Read(const std::string& name) const { return test_support::FileText(Path(name)); }
  // Sets the last write to a local time on 1 January 2026.
  void Touch(const std::string& name, int hour, int minute, int second, long nanos) const {
    std::tm local{};
    local.tm_year = 126;
    local.tm_mday = 1;
    local.tm_hour = hour;
    local.tm_min = minute;
    local.tm_sec = second;
    local.tm_isdst = -1;
    timespec times[2] = {{std::mktime(&local), nanos}, {std::mktime(&local), nanos}};
    ASSERT_EQ(utimensat(AT_FDCWD, Path(name).c_str(), times, 0), 0);
  }

  test_support::ShortFolder folder_;
};

TEST_F(FileServices, DirectoryEntriesOfFilesFoldersAndMissingNames) {
  Write("cab.syx", "12345");
  Touch("cab.syx", 14, 5, 9, 70'000'000);
  fs::create_directory(Path("Favourites Folder"));
  Touch("Favourites Folder", 0, 0, 0, 0);

  ENTRYG entry;
  ASSERT_EQ(kx_GetFileDirEntry(Path("cab.syx") + "   ", entry), 1);
  EXPECT_EQ(entry.NAME, "cab.syx");
  EXPECT_EQ(entry.SHORTNAME, "CAB.SYX");
  EXPECT_EQ(entry.SIZE, 5);
  EXPECT_EQ(entry.ATTRIB, 0);
  EXPECT_EQ(entry.DATE, 82184);  // 1 January 2026
  EXPECT_EQ(entry.TIME, (14 * 3600 + 5 * 60 + 9) * 100 + 7 + 1);

  ASSERT_EQ(kx_GetFileDirEntry(Path("Favourites Folder"), entry), 1);
  EXPECT_EQ(entry.NAME, "Favourites Folder");
  EXPECT_EQ(entry.SHORTNAME, "FAVOUR~1");
  EXPECT_EQ(entry.ATTRIB, 0x10);
  EXPECT_EQ(entry.TIME, 1);  // midnight is the clock's first hundredth, never 0

  EXPECT_EQ(kx_GetFileDirEntry(Path("missing.syx"), entry), 0);
  EXPECT_EQ(entry.NAME, "");
  EXPECT_EQ(entry.DATE, 0);
  EXPECT_EQ(entry.TIME, 0);
  EXPECT_EQ(kx_ThreadErrorState().HOOKWATCHERRORCODE, 0);
}

TEST_F(FileServices, APatternReportsTheFirstMatchByName) {
  Write("b.log", "bb");
  Write("a.log", "a");
  Write("c.txt", "ccc");
  ENTRYG entry;
  ASSERT_EQ(kx_GetFileDirEntry(Path("*.log"), entry), 1);
  EXPECT_EQ(entry.NAME, "a.log");
  ASSERT_EQ(kx_GetFileDirEntry(Path("?.txt"), entry), 1);
  EXPECT_EQ(entry.NAME, "c.txt");
  EXPECT_EQ(kx_GetFileDirEntry(Path("*.ini"), entry), 0);
}

TEST_F(FileServices, DeletingClearsReadOnlyAndReportsOnlyUnderDebug) {
  Write("report.log", "x");
  ASSERT_EQ(kx_SetFileAttributes(Path("report.log"), 0x01), 1);
  ENTRYG entry;
  ASSERT_EQ(kx_GetFileDirEntry(Path("report.log"), entry), 1);
  EXPECT_EQ(entry.ATTRIB, 0x01);
  EXPECT_EQ(kx_DeleteFile(Path("report.log")), 1);
  EXPECT_FALSE(fs::exists(Path("report.log")));

  EXPECT_EQ(kx_DeleteFile(Path("report.log")), 0);
  EXPECT_EQ(kx_ThreadErrorState().HOOKWATCHERRORCODE, 0);
  EXPECT_EQ(kx_SetFileAttributes(Path("report.log"), 0), 0);

  // A folder is found but cannot be deleted as a file.
  fs::create_directory(Path("folder"));
  EXPECT_EQ(kx_DeleteFile(Path("folder")), 0);
  EXPECT_EQ(kx_ThreadErrorState().HOOKWATCHERRORCODE, 0);
  CommandLine command({"/debug"});
  DebugCapture debug;
  EXPECT_EQ(kx_DeleteFile(Path("folder")), 0);
  EXPECT_EQ(kx_Error(), "kx_DeleteFile error, Access is denied., kx_DeleteFile");
  EXPECT_EQ(debug.text, " kx_DeleteFile error, Access is denied., kx_DeleteFile\r\n");
  EXPECT_TRUE(fs::is_directory(Path("folder")));
}

TEST_F(FileServices, String2FileReplacesAppendsAndClips) {
  struct Case {
    const char* what;
    const char* before;  // nullptr: no file
    const char* text;
    LONG length;
    BYTE append;
    const char* after;
  } cases[] = {
      {"replace", "old contents", "new  ", 0, 0, "new"},
      {"append", "old", " more  ", 0, 1, "old more"},
      {"append creates", nullptr, "first", 0, 1, "first"},
      {"replace creates", nullptr, "first", 0, 0, "first"},
      {"blanks write nothing", "old", "   ", 0, 0, ""},
      {"a length keeps blanks", nullptr, "ab  ", 3, 0, "ab "},
      {"a length beyond the text", nullptr, "abc", 1000, 0, "abc"},
      {"a negative length", nullptr, "abc  ", -5, 0, "abc"},
  };
  for (const auto& c : cases) {
    fs::remove(Path("out.txt"));
    if (c.before) Write("out.txt", c.before);
    EXPECT_EQ(kx_String2File(Path("out.txt") + "  ", c.text, c.length, c.append), 0) << c.what;
    EXPECT_EQ(Read("out.txt"), c.after) << c.what;
  }
}

TEST_F(FileServices, String2FileFailuresCarryTheirCodeAndName) {
  EXPECT_EQ(kx_String2File("   ", "x", 0, 0), HookwatchCode(0xA0000004));
  EXPECT_EQ(kx_Error(), "kx_String2File error, No filename specified, , kx_String2File");

  std::string missing = Path("no-folder/out.txt");
  EXPECT_EQ(kx_String2File(missing, "x", 0, 1), HookwatchCode(0xA0000005));
  EXPECT_EQ(kx_ThreadErrorState().HOOKWATCHEXTENDEDERR, missing + " The system cannot find the file specified.");

  // A full device takes nothing: the write fails instead of reporting success.
  EXPECT_EQ(kx_String2File("/dev/full", std::string(100000, 'x'), 0, 0), HookwatchCode(0xA0000006));
  EXPECT_EQ(kx_ThreadErrorState().HOOKWATCHEXTENDEDERR, "/dev/full There is not enough space on the disk.");
  EXPECT_EQ(kx_String2File("/dev/full", "", 0, 0), 0);  // nothing to write, nothing lost

  EXPECT_EQ(kx_String2File(Path("a") + std::string(1, '\0') + "b", "x", 0, 0), HookwatchCode(0xA0000005));
  EXPECT_FALSE(fs::exists(Path("a")));
}

TEST_F(FileServices, OwnVersionIsReadBackFromTheProgramFile) {
  EXPECT_EQ(kx_GetFileVersionInfo(), BOXWRIGHT_VERSION);
  EXPECT_EQ(kx_ThreadErrorState().HOOKWATCHERRORCODE, 0);
  EXPECT_EQ(kx_GetFileVersionInfo(std::nullopt, "ProductName  "), "Boxwright");
  EXPECT_EQ(kx_GetFileVersionInfo(fs::read_symlink("/proc/self/exe").string(), "ProductVersion"), BOXWRIGHT_VERSION);

  EXPECT_EQ(kx_GetFileVersionInfo(std::nullopt, "Comments"), "");
  EXPECT_EQ(kx_Error(),
            "kx_GetFileVersionInfo error, The specified resource type cannot be found in the image file., "
            "kx_GetFileVersionInfo");
}

TEST_F(FileServices, OtherFilesHaveNoVersion) {
  Write("plain.txt", "not a program");
  for (const std::string& file : {Path("plain.txt"), Path("missing.bin"), std::string("/bin/sh")}) {
    EXPECT_EQ(kx_GetFileVersionInfo(file), "") << file;
    EXPECT_EQ(kx_ThreadErrorState().HOOKWATCHERRORCODE, HookwatchCode(0xA0000031)) << file;
  }
}

}  // namespace
