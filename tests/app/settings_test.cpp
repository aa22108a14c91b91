#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/globals.h"
#include "app/ini_manager.h"

namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

class PreservedSettings : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::remove(kFile);
    ResetLibrarianState();
  }
  void Write(const std::string& text) { std::ofstream(kFile, std::ios::binary) << text; }
  static constexpr const char* kFile = "preserved_test.ini";
};

TEST(SettingNumber, ReadsAsAnAssignmentToTheVariableWould) {
  struct {
    const char* text;
    long long number;
  } cases[] = {{"", 0}, {"7", 7}, {" 12 ", 12}, {"-3", -3}, {"+4", 4}, {"abc", 0}, {"12ab", 0}, {"1.5", 0}, {"-", 0}};
  for (const auto& c : cases) EXPECT_EQ(SettingNumber(c.text), c.number) << "'" << c.text << "'";
}

TEST_F(PreservedSettings, MissingFileReadsAsZero) {
  GLO::MIDIInDevice = 9;
  GLO::UserCabOffset = 9;
  INIMGR settings;
  settings.Init(kFile);
  EXPECT_EQ(GLO::MIDIInDevice, 0);
  EXPECT_EQ(GLO::MIDIOutDevice, 0);
  EXPECT_EQ(GLO::SafetyMode, 0);
  EXPECT_EQ(GLO::UserCabOffset, 0);
}

TEST_F(PreservedSettings, ValuesWrapToTheirVariablesAndGarbageIsZero) {
  Write("[Preserved]\r\nGLO:MIDIInDevice=300\r\nGLO:MIDIOutDevice=x2\r\nGLO:SafetyMode=-1\r\n"
        "GLO:UserCabOffset=4294967427\r\n");
  INIMGR settings;
  settings.Init(kFile);
  EXPECT_EQ(GLO::MIDIInDevice, 44);
  EXPECT_EQ(GLO::MIDIOutDevice, 0);
  EXPECT_EQ(GLO::SafetyMode, 255);
  EXPECT_EQ(GLO::UserCabOffset, 131);
}

TEST_F(PreservedSettings, UpdateWritesTheFourKeysAndKeepsTheRest) {
  Write("; mine\r\n[Main]\r\nMaximize=No\r\n");
  INIMGR settings;
  settings.Init(kFile);
  GLO::MIDIInDevice = 2;
  GLO::MIDIOutDevice = 3;
  GLO::SafetyMode = 1;
  GLO::UserCabOffset = 131;
  settings.Update();
  const std::string text = ReadFile(kFile);
  EXPECT_NE(text.find("; mine"), std::string::npos);
  EXPECT_NE(text.find("Maximize=No"), std::string::npos);
  ResetLibrarianState();
  INIMGR again;
  again.Init(kFile);
  EXPECT_EQ(GLO::MIDIInDevice, 2);
  EXPECT_EQ(GLO::MIDIOutDevice, 3);
  EXPECT_EQ(GLO::SafetyMode, 1);
  EXPECT_EQ(GLO::UserCabOffset, 131);
  EXPECT_EQ(again.TryFetch("Preserved", "GLO:UserCabOffset"), "131");
}

}  // namespace
