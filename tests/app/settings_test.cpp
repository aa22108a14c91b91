#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>

#include "app/globals.h"
#include "app/ini_manager.h"
#include "tests/support/file_text.h"

namespace {

constexpr const char* kFile = "preserved_test.ini";

TEST(SettingNumber, ReadsAsAnAssignmentToTheVariableWould) {
  struct {
    const char* text;
    long long number;
  } cases[] = {{"", 0}, {"7", 7}, {" 12 ", 12}, {"-3", -3}, {"+4", 4}, {"abc", 0}, {"12ab", 0}, {"1.5", 0}, {"-", 0},
               {"+-4", 0}, {"-+4", 0}, {"--4", 0}, {"-9223372036854775808", INT64_MIN},
               {"9223372036854775807", INT64_MAX}, {"9223372036854775808", 0}, {"-9223372036854775809", 0},
               {"18446744073709551621", 0}};
  for (const auto& c : cases) EXPECT_EQ(SettingNumber(c.text), c.number) << "'" << c.text << "'";
}

// The four preserved values as "in out safety offset".
std::string Preserved() {
  return std::to_string(GLO::MIDIInDevice) + " " + std::to_string(GLO::MIDIOutDevice) + " " +
         std::to_string(GLO::SafetyMode) + " " + std::to_string(GLO::UserCabOffset);
}

TEST(PreservedSettings, ReadAsTheirVariablesTakeThem) {
  struct {
    const char* file;  // nullptr: no file
    const char* values;
  } cases[] = {
      // A first run asks before an upload overwrites a slot.
      {nullptr, "0 0 1 0"},
      {"[Main]\r\nMaximize=No\r\n", "0 0 1 0"},
      {"[Preserved]\r\nGLO:MIDIInDevice=2\r\n", "2 0 1 0"},
      // A stored switch stands as stored, and one that does not read is off, as before.
      {"[Preserved]\r\nGLO:SafetyMode=0\r\n", "0 0 0 0"},
      {"[Preserved]\r\nGLO:SafetyMode=1\r\n", "0 0 1 0"},
      {"[Preserved]\r\nGLO:SafetyMode=\r\n", "0 0 0 0"},
      {"[Preserved]\r\nGLO:MIDIInDevice=300\r\nGLO:MIDIOutDevice=x2\r\nGLO:SafetyMode=-1\r\n"
       "GLO:UserCabOffset=4294967427\r\n",
       "44 0 255 131"},
      // The offset is held in what its three-digit box shows.
      {"[Preserved]\r\nGLO:UserCabOffset=1000\r\n", "0 0 1 999"},
      {"[Preserved]\r\nGLO:UserCabOffset=-2147483648\r\n", "0 0 1 0"},
      {"[Preserved]\r\nGLO:UserCabOffset=-9223372036854775808\r\n", "0 0 1 0"},
  };
  for (const auto& c : cases) {
    std::filesystem::remove(kFile);
    if (c.file != nullptr) std::ofstream(kFile, std::ios::binary) << c.file;
    GLO::MIDIInDevice = GLO::MIDIOutDevice = GLO::SafetyMode = 9;
    GLO::UserCabOffset = 9;
    INIMGR().Init(kFile);
    EXPECT_EQ(Preserved(), c.values) << (c.file ? c.file : "no file");
  }
}

TEST(PreservedSettings, UpdateWritesTheFourKeysAndKeepsTheRest) {
  std::ofstream(kFile, std::ios::binary) << "; mine\r\n[Main]\r\nMaximize=No\r\n";
  INIMGR settings;
  settings.Init(kFile);
  GLO::MIDIInDevice = 2;
  GLO::MIDIOutDevice = 3;
  GLO::SafetyMode = 1;
  GLO::UserCabOffset = 131;
  settings.Update();
  EXPECT_EQ(test_support::FileText(kFile),
            "; mine\r\n[Main]\r\nMaximize=No\r\n\r\n[Preserved]\r\nGLO:MIDIInDevice=2\r\nGLO:MIDIOutDevice=3\r\n"
            "GLO:SafetyMode=1\r\nGLO:UserCabOffset=131\r\n");
  ResetLibrarianState();
  INIMGR().Init(kFile);
  EXPECT_EQ(Preserved(), "2 3 1 131");
}

}  // namespace
