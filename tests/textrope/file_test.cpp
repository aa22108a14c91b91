#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "tests/support/special_files.h"
#include "tests/textrope/support.h"
#include "textrope/textrope.h"

namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

class TextropeFile : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::current_path() / ::testing::UnitTest::GetInstance()->current_test_info()->name();
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }

  std::string PathOf(const char* name) const { return (dir / name).string(); }
  // An error text as the object keeps it: a deep folder makes it longer than it holds.
  static std::string Cut(const std::string& text) { return text.substr(0, Textrope::lastErrorSize); }
  static void Write(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
  }
  static std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  std::size_t Entries() const { return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir), {})); }

  fs::path dir;
};

TEST_F(TextropeFile, LoadOffsetAndLengthTable) {
  const std::string file = PathOf("ten");
  Write(file, "0123456789");
  struct Case {
    LONG offset, length;
    const char* expected;
  } cases[] = {
      {0, 0, "0123456789"}, {4, 0, "456789"},      {-3, 0, "789"},       {-20, 0, "0123456789"},
      {2, 3, "234"},        {0, 50, "0123456789"}, {-3, 2, "78"},        {-20, 5, "01234"},
      {-20, 50, "0123456789"}, {9, 5, "9"},        {4, -2, "456789"},    {INT32_MIN, 0, "0123456789"},
      {-10, 0, "0123456789"}, {0, 10, "0123456789"},
  };
  for (const auto& c : cases) {
    Textrope t;
    t.base64 = 1;
    EXPECT_EQ(t.LoadFile(file + "   ", c.offset, c.length), 1) << c.offset << ", " << c.length;
    EXPECT_EQ(t.value, c.expected) << c.offset << ", " << c.length;
    EXPECT_EQ(t.bytes, t.Length());
    EXPECT_EQ(t.base64, 0);
  }
}

TEST_F(TextropeFile, LoadFailuresLeaveTheValue) {
  const std::string empty = PathOf("empty");
  const std::string ten = PathOf("ten");
  Write(empty, "");
  Write(ten, "0123456789");
  const std::string fifo = PathOf("fifo");
  test_support::MakeFifo(fifo);
  struct Case {
    std::string name;
    LONG offset, winError;
    std::string message;
  } cases[] = {
      {empty, 0, 0, "Error loading the file, the file size is zero. no data to read."},
      {"   ", 0, 0, "Cannot load the file, the name is blank."},
      {ten, 10, 0, "Error loading the file, the offset is greater than the file length."},
      {ten, 99, 0, "Error loading the file, the offset is greater than the file length."},
      {PathOf("missing"), 0, 2, "Error loading the file, could not open " + PathOf("missing") + "."},
      {dir.string(), 0, 5, "Error loading the file, could not open " + dir.string() + "."},
      // Neither is read, nor waited on: a FIFO without a writer, a device that never ends.
      {fifo, 0, 87, "Error loading the file, could not open " + fifo + "."},
      {"/dev/zero", 0, 87, "Error loading the file, could not open /dev/zero."},
      {ten + "\0x"s, 0, 87, "Error loading the file, could not open " + ten + "\0x"s + "."},
  };
  for (const auto& c : cases) {
    Textrope t;
    t.SetValue("kept");
    t.winErrorCode = 77;
    EXPECT_EQ(t.LoadFile(c.name, c.offset, 0), 0) << c.message;
    EXPECT_EQ(t.value, "kept");
    EXPECT_EQ(t.bytes, 0);
    EXPECT_EQ(t.winErrorCode, c.winError) << c.message;
    EXPECT_EQ(t.lastError, c.message.substr(0, 252));
  }
}

TEST_F(TextropeFile, LongNamesAreUsedWhole) {
  fs::path deep = dir;
  for (int i = 0; i < 6; ++i) deep /= std::string(60, 'd');
  fs::create_directories(deep);
  const std::string file = (deep / "cab.bin").string();
  ASSERT_GT(file.size(), 300u);
  Textrope t;
  t.SetValue("long");
  EXPECT_EQ(t.SaveFile(file), 1);
  t.Free();
  EXPECT_EQ(t.LoadFile(file), 1);
  EXPECT_EQ(t.value, "long");
}

TEST_F(TextropeFile, SaveCreatesReplacesAndAppends) {
  const std::string file = PathOf("out");
  Textrope t;
  t.SetValue("a\0b  "s);
  EXPECT_EQ(t.SaveFile(file, 1), 1);  // appending to a missing file creates it
  EXPECT_EQ(Read(file), "a\0b  "s);
  EXPECT_EQ(t.SaveFile(file, 1), 1);
  EXPECT_EQ(Read(file), "a\0b  a\0b  "s);
  t.SetValue("x");
  EXPECT_EQ(t.SaveFile(file, 0), 1);  // replaced, not overwritten in part
  EXPECT_EQ(Read(file), "x");
  EXPECT_EQ(t.SaveFile("xyz", file, 0, 2), 1);
  EXPECT_EQ(Read(file), "xy");
  EXPECT_EQ(t.SaveFile("xyz", file, 0, 100), 1);  // never more than the data holds
  EXPECT_EQ(Read(file), "xyz");
  EXPECT_EQ(t.SaveFileA("q", file, 1), 1);
  EXPECT_EQ(Read(file), "xyzq");
  t.Free();
  EXPECT_EQ(t.SaveFile(file, 1), 1);
  EXPECT_EQ(Read(file), "xyzq");
  EXPECT_EQ(t.SaveFile(file, 0), 1);
  EXPECT_EQ(Read(file), "");
  EXPECT_EQ(Entries(), 1u) << "no temporary left";
}

TEST_F(TextropeFile, SaveFailuresAreReported) {
  TraceCapture capture;
  Textrope t;
  t.logErrors = 1;
  t.winErrorCode = 77;
  EXPECT_EQ(t.SaveFile("", "  ", 0, 0), 0);
  EXPECT_EQ(t.winErrorCode, 0);
  EXPECT_EQ(t.lastError, "Cannot save the file, the file name passed is blank.");
  const std::string nowhere = PathOf("no/such/dir");
  EXPECT_EQ(t.SaveFile("x", nowhere, 0, 0), 0);
  EXPECT_EQ(t.winErrorCode, 2);
  EXPECT_EQ(t.lastError, Cut("Could not save the file, the CreateFile API failed to create " + nowhere));
  EXPECT_EQ(t.SaveFile("x", dir.string(), 0, 0), 0);
  EXPECT_EQ(t.winErrorCode, 5);
  EXPECT_EQ(capture.lines.size(), 5u);  // blank name: one line; the others add the system text
  EXPECT_EQ(capture.lines[2], "[tx]   API Error: 2: The system cannot find the file specified.\r\n");
}

TEST_F(TextropeFile, FailedSaveLeavesTheOldFile) {
  const std::string file = PathOf("keep");
  Write(file, "old contents");
  // A file-size limit stops the write half way, as a full disk would.
  rlimit saved{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit tight = saved;
  tight.rlim_cur = 16;
  ::setrlimit(RLIMIT_FSIZE, &tight);
  Textrope t;
  LONG replaced = t.SaveFile(std::string(100, 'n'), file, 0, 0);
  LONG appended = t.SaveFile(std::string(100, 'n'), file, 1, 0);
  ::setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_EQ(replaced, 0);
  EXPECT_EQ(appended, 0);
  EXPECT_EQ(t.lastError, Cut("Failed to save the file, WriteFile failed to write to " + file));
  EXPECT_EQ(Read(file), "old contents");
  EXPECT_EQ(Entries(), 1u) << "no temporary left";
}

TEST_F(TextropeFile, BinaryRoundTrip) {
  const std::string all = AllBytes() + "  ";
  Textrope t;
  t.SetValue(all);
  ASSERT_EQ(t.SaveFile(PathOf("bin")), 1);
  Textrope back;
  ASSERT_EQ(back.LoadFile(PathOf("bin")), 1);
  EXPECT_EQ(back.value, all);
  EXPECT_EQ(back.bytes, 258);
}

TEST(TextropePath, NamePartsTable) {
  enum Op { kPath, kName, kNameExt, kExt };
  struct Case {
    Op op;
    const char *path, *expected;
  } cases[] = {
      {kPath, "c:\\dir\\sub\\file.txt", "c:\\dir\\sub"}, {kPath, "dir/file", "dir"},
      {kPath, "file", ""},                               {kPath, "a/b\\c/d", "a/b"},
      {kPath, "dir/file  ", "dir"},                      {kName, "c:\\dir\\file.txt", "file"},
      {kNameExt, "c:\\dir\\file.txt", "file.txt"},       {kName, "c:\\dir\\", ""},
      {kName, "archive.tar.gz", "archive.tar"},          {kName, "home/.profile", ".profile"},
      {kName, ".profile", ""},                           {kName, "noext", "noext"},
      {kNameExt, "noext  ", "noext"},                    {kName, "   ", ""},
      {kName, "a.b/c", "c"},                             {kExt, "c:\\dir\\file.txt", "txt"},
      {kExt, "c:\\dir.x\\file", ""},                     {kExt, "file.", ""},
      {kExt, "a.tar.gz  ", "gz"},                        {kExt, ".x", "x"},
      {kExt, "x", ""},
  };
  for (const auto& c : cases) {
    Textrope t;
    std::string got;
    switch (c.op) {
      case kPath: got = t.PathOnly(c.path); break;
      case kName: got = t.FileNameOnly(c.path, 0); break;
      case kNameExt: got = t.FileNameOnly(c.path, 1); break;
      case kExt: got = t.ExtensionOnly(c.path); break;
    }
    EXPECT_EQ(got, c.expected) << c.op << " '" << c.path << "'";
  }
}

TEST(TextropePath, OmittedPathMeansTheValue) {
  Textrope t;
  EXPECT_EQ(t.FileNameOnly(std::nullopt, 1), "");
  t.SetValue("dir/cab.syx");
  EXPECT_EQ(t.PathOnly(), "dir");
  EXPECT_EQ(t.FileNameOnly(std::nullopt, 0), "cab");
  EXPECT_EQ(t.ExtensionOnly(), "syx");
  EXPECT_EQ(t.ExtensionOnly(""), "");
}

TEST(TextropeBlob, ToAndFromBlob) {
  Textrope t;
  EXPECT_EQ(t.ToBlob(nullptr), 0);
  EXPECT_EQ(t.lastError, "The passed BLOB pointer was null");
  BLOB blob{1, 2, 3};
  EXPECT_EQ(t.ToBlob(&blob), 1);  // an empty value empties the blob
  EXPECT_TRUE(blob.empty());
  EXPECT_EQ(t.FromBlob(&blob), 0);
  EXPECT_EQ(t.lastError, "The passed BLOB pointer was null or the BLOB did not contain any data.");
  t.SetValue("a\0b"s);
  EXPECT_EQ(t.ToBlob(&blob), 1);
  EXPECT_EQ(blob, (BLOB{'a', 0, 'b'}));
  Textrope back;
  back.base64 = 1;
  EXPECT_EQ(back.FromBlob(&blob), 1);
  EXPECT_EQ(back.value, "a\0b"s);
  EXPECT_EQ(back.base64, 0);
}

}  // namespace
