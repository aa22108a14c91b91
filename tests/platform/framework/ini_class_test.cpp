#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <functional>
#include <sstream>
#include <string>

#include "platform/framework/ini_class.h"
#include "tests/platform/test_files.h"

namespace fs = std::filesystem;

namespace {

using platform_test::FileText;
using platform_test::WriteFileText;

// Every line of `before` is still in `after`, in the same order.
bool KeptInOrder(const std::string& before, const std::string& after) {
  std::istringstream old(before), now(after);
  std::string wanted, line;
  bool more = static_cast<bool>(std::getline(old, wanted));
  while (more && std::getline(now, line)) {
    if (line == wanted) more = static_cast<bool>(std::getline(old, wanted));
  }
  return !more;
}

struct Entry {
  const char* section;
  const char* key;
  std::string value;
};

class IniFile : public ::testing::Test {
 protected:
  INIClass Opened() {
    INIClass ini;
    ini.Init(file.string());
    return ini;
  }
  platform_test::ScratchFolder scratch;
  const fs::path& dir = scratch.path;
  const fs::path file = dir / "settings.ini";
};

// The program's own settings object: loads its values in Fetch() and writes them in Update().
struct PreservedSettings : INIClass {
  using INIClass::Fetch;
  using INIClass::Update;
  void Fetch() override {
    device = static_cast<unsigned char>(std::atoi(TryFetch("Preserved", "GLO:MIDIInDevice").c_str()));
    ++fetches;
    INIClass::Fetch();
  }
  void Update() override {
    INIClass::Update();
    Update("Preserved", "GLO:MIDIInDevice", device);
  }
  unsigned char device = 99;
  int fetches = 0;
};

TEST_F(IniFile, DerivedSettingsLoadOnInitAndSaveOnUpdate) {
  PreservedSettings first;
  first.Init(file.string());
  EXPECT_EQ(first.fetches, 1);
  EXPECT_EQ(first.device, 0) << "a first run reads every value as 0";
  first.device = 3;
  first.Update();

  PreservedSettings second;
  second.Init(file.string());
  EXPECT_EQ(second.device, 3);

  WriteFileText(file, "[Preserved]\nGLO:MIDIInDevice=300\n");
  PreservedSettings third;
  third.Init(file.string());
  EXPECT_EQ(third.device, 44) << "300 kept in a byte";
}

TEST_F(IniFile, ValuesRoundTrip) {
  INIClass ini = Opened();
  const Entry cases[] = {
      {"Preserved", "GLO:UserCabOffset", "-129"},
      {"Preserved", "Empty", ""},
      {"Main", "Path", "C:\\cabs\\my list.cablist"},
      {"Main", "Padded", "  two blanks each side  "},
      {"Main", "Quoted", "\"already quoted\""},
      {"Main", "Equals", "a=b=c"},
      {"Main", "Comment-like", "; not a comment"},
      {"Other", "Utf8", "Caf\xC3\xA9"},
  };
  for (const Entry& c : cases) ASSERT_TRUE(ini.Update(c.section, c.key, c.value)) << c.key;
  for (const Entry& c : cases) EXPECT_EQ(ini.Fetch(c.section, c.key, "absent"), c.value) << c.key;
  EXPECT_TRUE(ini.Update("Main", "Number", 1450));
  EXPECT_EQ(Opened().TryFetch("main", "NUMBER"), "1450") << "names compare without case";
}

TEST_F(IniFile, WritingKeepsEverythingElse) {
  const std::string original =
      "; Boxwright settings\r\n"
      "[Main]\r\n"
      "  XPos = 10   ; kept as written\r\n"
      "Height=200\r\n"
      "odd line without equals\r\n"
      "\r\n"
      "# about the next one\r\n"
      "[Preserved]\r\n"
      "GLO:MIDIInDevice=2\r\n"
      "[main]\r\n"
      "XPos=999\r\n"
      "last=line without end";
  WriteFileText(file, original);
  INIClass ini = Opened();
  EXPECT_EQ(ini.TryFetch("Main", "XPos"), "10   ; kept as written") << "first section of a name counts";

  ASSERT_TRUE(ini.Update("Main", "Height", "240"));
  ASSERT_TRUE(ini.Update("Main", "Width", "320"));
  ASSERT_TRUE(ini.Update("AboutWindow", "Maximize", "No"));
  ASSERT_TRUE(ini.Update("MAIN", "xpos", "11"));
  EXPECT_EQ(FileText(file),
            "; Boxwright settings\r\n"
            "[Main]\r\n"
            "XPos=11\r\n"
            "Height=240\r\n"
            "Width=320\r\n"
            "odd line without equals\r\n"
            "\r\n"
            "# about the next one\r\n"
            "[Preserved]\r\n"
            "GLO:MIDIInDevice=2\r\n"
            "[main]\r\n"
            "XPos=999\r\n"
            "last=line without end\r\n"
            "\r\n"
            "[AboutWindow]\r\n"
            "Maximize=No\r\n");
}

TEST_F(IniFile, NewFileAndLineEndsFollowTheFile) {
  INIClass ini = Opened();
  ASSERT_TRUE(ini.Update("A", "k", "v"));
  EXPECT_EQ(FileText(file), "[A]\r\nk=v\r\n");
  WriteFileText(file, "[A]\nk=v\n");
  ASSERT_TRUE(ini.Update("A", "j", "w"));
  EXPECT_EQ(FileText(file), "[A]\nk=v\nj=w\n");
}

TEST_F(IniFile, GarbageReadsAsAbsent) {
  const std::string cases[] = {
      std::string("\0\0\0\xff\xfe[Preserved]\nGLO:SafetyMode=1\n", 25),
      "[Preserved\nGLO:SafetyMode=1\n",
      "GLO:SafetyMode=1\n",
      "[Preserved]\nGLO:SafetyMode\n=1\n",
      std::string("[Preserved]\nGLO:SafetyMode=1\0junk\n", 34),
      "[Preserved]\nGLO:SafetyMode=1\x1b[2J\n",
  };
  for (const std::string& text : cases) {
    WriteFileText(file, text);
    INIClass ini = Opened();
    EXPECT_EQ(ini.Fetch("Preserved", "GLO:SafetyMode", "absent"), "absent") << text;
    // Junk is kept as it was, and the file is still usable.
    ASSERT_TRUE(ini.Update("Preserved", "Next", "1"));
    EXPECT_TRUE(KeptInOrder(text, FileText(file))) << text;
    EXPECT_EQ(ini.TryFetch("Preserved", "Next"), "1");
  }
}

TEST_F(IniFile, UnreadableOrMissingFilesReadAsAbsent) {
  INIClass never;
  EXPECT_EQ(never.Fetch("Preserved", "GLO:SafetyMode", "d"), "d") << "before Init";
  EXPECT_FALSE(never.Update("Preserved", "GLO:SafetyMode", "1"));

  EXPECT_EQ(Opened().TryFetch("Preserved", "GLO:SafetyMode"), "") << "no file";
  fs::create_directory(file);
  EXPECT_EQ(Opened().TryFetch("Preserved", "GLO:SafetyMode"), "") << "a directory";
  EXPECT_FALSE(Opened().Update("Preserved", "GLO:SafetyMode", "1"));
  fs::remove(file);

  WriteFileText(file, "[Preserved]\nGLO:SafetyMode=1\n" + std::string(2 << 20, '#'));
  INIClass huge = Opened();
  EXPECT_EQ(huge.TryFetch("Preserved", "GLO:SafetyMode"), "") << "far too large to be ours";
  EXPECT_FALSE(huge.Update("Preserved", "GLO:SafetyMode", "0")) << "and never overwritten";
}

TEST_F(IniFile, NamesAndValuesThatCannotBeWrittenAreRefused) {
  WriteFileText(file, "[A]\nk=v\n");
  INIClass ini = Opened();
  const Entry cases[] = {
      {"A", "k", "two\nlines"}, {"A", "k", "cr\r"},      {"A", "a=b", "v"}, {"A", "", "v"},
      {"A", " k", "v"},         {"A", "[B]", "v"},       {"A", ";k", "v"},  {"A]", "k", "v"},
      {"", "k", "v"},           {"A\nB", "k", "v"},
  };
  for (const Entry& c : cases) EXPECT_FALSE(ini.Update(c.section, c.key, c.value)) << c.key << c.value;
  EXPECT_EQ(FileText(file), "[A]\nk=v\n");
}

TEST_F(IniFile, WritesThatCannotReachTheFileSayWhyAndChangeNothing) {
  const std::string original = "[Preserved]\nGLO:MIDIInDevice=2\n";
  const std::string huge = original + std::string(2 << 20, '#');
  const auto readOnly = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
  struct {
    const char* what;
    std::function<void()> make;
    const char* reason;
  } cases[] = {
      {"a folder", [&] { fs::create_directory(file); }, "A folder is in its place."},
      {"too large", [&] { WriteFileText(file, huge); }, "It is larger than 1 MiB, too large to be a settings file."},
      {"read-only",
       [&] {
         WriteFileText(file, original);
         fs::permissions(file, readOnly);
       },
       "It is read-only, so it was left as it is."},
  };
  for (const auto& c : cases) {
    fs::remove_all(file);
    c.make();
    const std::string before = fs::is_regular_file(file) ? FileText(file) : "";
    INIClass ini = Opened();
    EXPECT_FALSE(ini.Update("Preserved", "GLO:MIDIInDevice", "3")) << c.what;
    EXPECT_FALSE(ini.Update("Preserved", "Other", "4")) << c.what;
    EXPECT_EQ(ini.WriteFailure(), c.reason) << c.what;
    EXPECT_EQ(fs::is_regular_file(file) ? FileText(file) : "", before) << c.what;
    EXPECT_EQ(scratch.Entries(), 1u) << c.what << ": no temporary left";
    fs::permissions(file, fs::perms::owner_all, fs::perm_options::add);
  }

  // An edit that changes nothing needs no write, even to a read-only file.
  fs::remove_all(file);
  WriteFileText(file, original);
  fs::permissions(file, readOnly);
  INIClass unchanged = Opened();
  EXPECT_TRUE(unchanged.Update("Preserved", "GLO:MIDIInDevice", "2"));
  EXPECT_EQ(unchanged.WriteFailure(), "");
  fs::permissions(file, fs::perms::owner_all, fs::perm_options::add);

  // A refused name is no write failure, and a write that works records none.
  INIClass ini = Opened();
  EXPECT_FALSE(ini.Update("Preserved", "", "1"));
  EXPECT_TRUE(ini.Update("Preserved", "GLO:MIDIInDevice", "5"));
  EXPECT_EQ(ini.WriteFailure(), "");
}

TEST_F(IniFile, FailedWriteLeavesTheOldFileIntact) {
  const std::string original = "[Preserved]\nGLO:MIDIInDevice=2\n";
  WriteFileText(file, original);
  // An unwritable folder; permissions do not bind root, so root is stopped by a file-size limit.
  rlimit saved{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  rlimit tight = saved;
  tight.rlim_cur = 20;
  auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec);
  if (::geteuid() == 0) ::setrlimit(RLIMIT_FSIZE, &tight);
  EXPECT_FALSE(Opened().Update("Preserved", "Name", std::string(100, 'x')));
  ::setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, oldHandler);
  fs::permissions(dir, fs::perms::owner_all);
  EXPECT_EQ(FileText(file), original);
  EXPECT_EQ(scratch.Entries(), 1u) << "no temporary left";
}

}  // namespace
