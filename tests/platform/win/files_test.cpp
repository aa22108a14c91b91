#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/win/files/directory_listing.h"
#include "platform/win/files/files.h"
#include "platform/win/modules/module_file_name.h"
#include "platform/win/system/last_error.h"
#include "tests/platform/test_files.h"

namespace {

namespace fs = std::filesystem;


HANDLE Open(const char* name, DWORD disposition) {
  return CreateFileA(name, GENERIC_WRITE, FILE_SHARE_READ, nullptr, disposition, 0, nullptr);
}

bool WriteText(HANDLE file, std::string_view text) {
  DWORD written = 0;
  return WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) && written == text.size();
}

TEST(Files, CreationDispositions) {
  struct Case {
    DWORD disposition;
    bool exists;
    bool opens;
    const char* after;  // the file after writing "new" at the start
  } cases[] = {
      {CREATE_NEW, false, true, "new"},         {CREATE_NEW, true, false, "old contents"},
      {CREATE_ALWAYS, true, true, "new"},       {OPEN_EXISTING, false, false, nullptr},
      {OPEN_EXISTING, true, true, "new contents"}, {OPEN_ALWAYS, false, true, "new"},
      {OPEN_ALWAYS, true, true, "new contents"},   {TRUNCATE_EXISTING, true, true, "new"},
  };
  for (const auto& c : cases) {
    fs::remove("disposition.txt");
    if (c.exists) std::ofstream("disposition.txt") << "old contents";
    HANDLE file = Open("disposition.txt", c.disposition);
    ASSERT_EQ(file != INVALID_HANDLE_VALUE, c.opens) << c.disposition << " " << c.exists;
    if (file == INVALID_HANDLE_VALUE) continue;
    EXPECT_TRUE(WriteText(file, "new"));
    EXPECT_TRUE(CloseHandle(file));
    EXPECT_EQ(platform_test::FileText("disposition.txt"), c.after) << c.disposition << " " << c.exists;
  }
}

TEST(Files, HandlesAreNeverReused) {
  HANDLE first = Open("handles.txt", CREATE_ALWAYS);
  ASSERT_TRUE(CloseHandle(first));
  HANDLE second = Open("handles.txt", OPEN_EXISTING);
  EXPECT_NE(first, second);
  EXPECT_FALSE(WriteText(first, "x"));
  EXPECT_EQ(GetLastError(), 6u);
  EXPECT_FALSE(CloseHandle(first));
  EXPECT_EQ(SetFilePointer(first, 0, nullptr, FILE_END), INVALID_SET_FILE_POINTER);
  EXPECT_TRUE(CloseHandle(second));
}

TEST(Files, AppendingAtTheEnd) {
  std::ofstream("append.txt") << "12345";
  HANDLE file = Open("append.txt", OPEN_ALWAYS);
  EXPECT_EQ(SetFilePointer(file, 0, nullptr, FILE_END), 5u);
  EXPECT_TRUE(WriteText(file, "6"));
  EXPECT_EQ(SetFilePointer(file, -2, nullptr, FILE_CURRENT), 4u);
  EXPECT_EQ(SetFilePointer(file, -1, nullptr, FILE_BEGIN), INVALID_SET_FILE_POINTER);
  EXPECT_EQ(GetLastError(), 87u);
  CloseHandle(file);
  EXPECT_EQ(platform_test::FileText("append.txt"), "123456");
}

TEST(Files, FailuresSetTheLastError) {
  HANDLE full = Open("/dev/full", OPEN_EXISTING);
  ASSERT_NE(full, INVALID_HANDLE_VALUE);
  DWORD written = 99;
  EXPECT_FALSE(WriteFile(full, "x", 1, &written, nullptr));
  EXPECT_EQ(written, 0u);
  EXPECT_EQ(GetLastError(), ERROR_DISK_FULL);
  CloseHandle(full);

  fs::create_directory("a-folder");
  EXPECT_EQ(Open("a-folder", OPEN_EXISTING), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), 5u);
  EXPECT_FALSE(DeleteFileA("a-folder"));
  EXPECT_EQ(GetLastError(), 5u);
  EXPECT_FALSE(DeleteFileA("no-such-file"));
  EXPECT_EQ(GetLastError(), 2u);
  EXPECT_EQ(Open("no-folder/x", CREATE_ALWAYS), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), 2u);
}

TEST(Files, ReadOnlyTakesEveryWritePermission) {
  std::ofstream("readonly.txt") << "x";
  fs::permissions("readonly.txt", fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_write);
  ASSERT_TRUE(SetFileAttributesA("readonly.txt", FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(fs::status("readonly.txt").permissions(), fs::perms::owner_read);
  ASSERT_TRUE(SetFileAttributesA("readonly.txt", FILE_ATTRIBUTE_NORMAL));
  EXPECT_EQ(fs::status("readonly.txt").permissions(), fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_FALSE(SetFileAttributesA("no-such-file", 0));
  EXPECT_EQ(GetLastError(), 2u);
}

TEST(DirectoryListing, ShortNamesAndAttributes) {
  fs::remove_all("listing");
  fs::create_directories("listing/Sub Folder");
  for (const char* name : {"cab.syx", ".hidden", "a long file name.cablist", "x.y.z", "MIXED.Ini"}) {
    std::ofstream(std::string("listing/") + name) << "data";
  }
  struct Case {
    const char* name;
    const char* shortName;
    DWORD attributes;
  } cases[] = {
      {".hidden", "HIDDEN~1", FILE_ATTRIBUTE_HIDDEN},
      {"MIXED.Ini", "MIXED.INI", 0},
      {"Sub Folder", "SUBFOL~1", FILE_ATTRIBUTE_DIRECTORY},
      {"a long file name.cablist", "ALONGF~1.CAB", 0},
      {"cab.syx", "CAB.SYX", 0},
      {"x.y.z", "XY~1.Z", 0},
  };
  std::vector<win::DirectoryEntry> all = win::ListDirectory("listing/*");
  ASSERT_EQ(all.size(), std::size(cases));
  for (std::size_t i = 0; i < all.size(); ++i) {
    EXPECT_EQ(all[i].name, cases[i].name);
    EXPECT_EQ(all[i].shortName, cases[i].shortName) << cases[i].name;
    EXPECT_EQ(all[i].attributes, cases[i].attributes) << cases[i].name;
  }
  EXPECT_EQ(win::ListDirectory("listing/cab.syx").at(0).size, 4);
  EXPECT_EQ(win::ListDirectory("listing/Sub Folder/").at(0).name, "Sub Folder");
  EXPECT_TRUE(win::ListDirectory("listing/*.txt").empty());
  EXPECT_TRUE(win::ListDirectory("no-folder/*").empty());
}

TEST(ModuleFileName, TheProgramsOwnPath) {
  std::string own = fs::read_symlink("/proc/self/exe").string();
  char path[4096];
  EXPECT_EQ(GetModuleFileNameA(nullptr, path, sizeof path), own.size());
  EXPECT_EQ(path, own);
  char small[5];
  EXPECT_EQ(GetModuleFileNameA(nullptr, small, sizeof small), 5u);
  EXPECT_EQ(GetLastError(), 122u);
  EXPECT_EQ(std::string(small), own.substr(0, 4));
}

}  // namespace
