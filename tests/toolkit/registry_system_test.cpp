#include <gtest/gtest.h>

#include <unistd.h>

#include <fstream>

#include "platform/win/system/registry.h"
#include "tests/support/file_text.h"
#include "tests/support/short_folder.h"
#include "toolkit/error_state.h"
#include "toolkit/registry_value.h"
#include "toolkit/system_info.h"
#include "toolkit_test_support.h"

namespace {

class RegistryValues : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string store = (folder_ / "registry").string();
    std::ofstream out(store);
    auto value = [&](const char* name, int type, const std::string& hex) {
      out << "value\tHKEY_LOCAL_MACHINE\\Software\\Test\t" << name << "\t" << type << "\t" << hex << "\n";
    };
    value("Text", REG_SZ, "61626300");
    value("Empty", REG_SZ, "");
    value("NoNul", REG_SZ, "616263");
    value("Expand", REG_EXPAND_SZ, "25484f4d452500");
    value("Multi", REG_MULTI_SZ, "6100620000");
    value("Binary", REG_BINARY, "00ff00");
    value("Number", REG_DWORD, "e8030000");
    value("Short", REG_DWORD, "e803");
    value("BigEndian", REG_DWORD_BIG_ENDIAN, "000003e8");
    value("Quad", REG_QWORD, "e803000000000000");
    value("Long", REG_SZ, std::string(600, '6') + "00");
    out.close();
    win::UseRegistryFile(store);
  }
  test_support::ShortFolder folder_;
};

TEST_F(RegistryValues, EachTypeReadsAsTextOrNumber) {
  struct Case {
    const char* name;
    kx_RegValue value;
  } cases[] = {
      {"Text", std::string("abc")},
      {"Empty", std::string()},
      {"NoNul", std::string("abc")},
      {"Expand", std::string("%HOME%")},
      {"Multi", std::string("a\0b\0", 4)},
      {"Binary", std::string("\0\xff\0", 3)},
      {"Number", LONG{1000}},
      {"Short", LONG{1000}},
      {"BigEndian", LONG{1000}},
      {"Quad", LONG{0}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(kx_GetReg(HKEY_LOCAL_MACHINE, c.name, "Software\\Test  "), c.value) << c.name;
    EXPECT_EQ(kx_ThreadErrorState().HOOKWATCHERRORCODE, 0) << c.name;
  }
}

TEST_F(RegistryValues, FailuresAnswerZeroAndRecordTheError) {
  EXPECT_EQ(kx_GetReg(HKEY_LOCAL_MACHINE, "Text", "Software\\Missing"), kx_RegValue{LONG{0}});
  EXPECT_EQ(kx_Error(), "kx_GetReg error, The system cannot find the file specified., kx_GetReg");
  EXPECT_EQ(kx_GetReg(HKEY_LOCAL_MACHINE, "Missing", "Software\\Test"), kx_RegValue{LONG{0}});
  EXPECT_EQ(kx_ThreadErrorState().HOOKWATCHERRORCODE, KX_ERR_GETREG);
  // Longer than the 255-byte buffer: the query fails, whatever type it reports.
  EXPECT_EQ(kx_GetReg(HKEY_LOCAL_MACHINE, "Long", "Software\\Test"), kx_RegValue{LONG{0}});
  EXPECT_EQ(kx_Error(), "kx_GetReg error, More data is available., kx_GetReg");
  EXPECT_EQ(kx_RegText(LONG{0}), "0");
}

TEST(SystemInfo, NamesOfTheMachineAndItsUser) {
  char host[256] = {};
  ASSERT_EQ(gethostname(host, sizeof host - 1), 0);
  EXPECT_EQ(kx_GetWorkstationName(), host);
  EXPECT_FALSE(kx_GetUserName().empty());
  EXPECT_EQ(kx_IsTerminalServer(), 0);
  EXPECT_EQ(kx_IsStarter() + kx_IsTablet() + kx_IsMediaCenter(), 0);
}

}  // namespace
