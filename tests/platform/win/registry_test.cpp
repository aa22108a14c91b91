#include <gtest/gtest.h>

#include <unistd.h>

#include <fstream>

#include "platform/win/system/last_error.h"
#include "platform/win/system/registry.h"
#include "tests/platform/test_files.h"

namespace {

class Registry : public ::testing::Test {
 protected:
  void SetUp() override {
    // Cases run as parallel processes in one folder: each has a store of its own.
    const std::string store = platform_test::TestName() + ".store";
    std::ofstream out(store, std::ios::binary);
    out << "value\tHKEY_CURRENT_USER\\Software\\Maker\\App\tName\t1\t61626300\n"
           "value\thkey_current_user\\software\\maker\\app\\\tCount\t4\te8030000\n"
           "value\tHKEY_CURRENT_USER\\Software\\Maker\\App\tBig\t5\t000003e8\n"
           "value\tHKEY_CURRENT_USER\\Software\\Maker\\App\tWide\t11\t0100000000000000\n"
           "value\tHKEY_CURRENT_USER\\Software\\Maker\\App\t\t1\t64656600\n"
           "key\tHKEY_CURRENT_USER\\Software\\Empty\n"
           "value\tHKEY_CURRENT_USER\\Software\\Maker\\App\tBroken\t1\t6g\n"
           "value\tNOWHERE\\Software\tLost\t1\t00\n"
           "garbage line without tabs\n";
    out.close();
    win::UseRegistryFile(store);
  }

  static std::string Query(HKEY key, const char* name, DWORD* type, LONG* result) {
    BYTE data[16] = {};
    DWORD size = sizeof data;
    *result = RegQueryValueExA(key, name, nullptr, type, data, &size);
    return std::string(reinterpret_cast<char*>(data), *result == ERROR_SUCCESS ? size : 0);
  }
};

TEST_F(Registry, TypedValuesReadBackAsStored) {
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "SOFTWARE\\maker\\App\\", 0, KEY_READ, &key), ERROR_SUCCESS);
  struct Case {
    const char* name;
    DWORD type;
    std::string data;
  } cases[] = {
      {"name", REG_SZ, std::string("abc\0", 4)},
      {"Count", REG_DWORD, std::string("\xe8\x03\x00\x00", 4)},
      {"Big", REG_DWORD_BIG_ENDIAN, std::string("\x00\x00\x03\xe8", 4)},
      {"Wide", REG_QWORD, std::string("\x01\0\0\0\0\0\0\0", 8)},
      {"", REG_SZ, std::string("def\0", 4)},
  };
  for (const auto& c : cases) {
    DWORD type = REG_NONE;
    LONG result = -1;
    EXPECT_EQ(Query(key, c.name, &type, &result), c.data) << c.name;
    EXPECT_EQ(result, ERROR_SUCCESS) << c.name;
    EXPECT_EQ(type, c.type) << c.name;
  }
  EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(key), 6);  // closed already
}

TEST_F(Registry, MissingKeysValuesAndShortBuffers) {
  HKEY key = nullptr;
  EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Nobody", 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(GetLastError(), 2u);
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Maker", 0, KEY_READ, &key), ERROR_SUCCESS);
  HKEY app = nullptr;
  ASSERT_EQ(RegOpenKeyExA(key, "App", 0, KEY_READ, &app), ERROR_SUCCESS);

  DWORD type = REG_NONE;
  LONG result = 0;
  Query(app, "Broken", &type, &result);  // a line whose data is not hex was skipped
  EXPECT_EQ(result, ERROR_FILE_NOT_FOUND);

  BYTE small[2];
  DWORD size = sizeof small;
  EXPECT_EQ(RegQueryValueExA(app, "Name", nullptr, &type, small, &size), ERROR_MORE_DATA);
  EXPECT_EQ(size, 4u);
  EXPECT_EQ(type, REG_SZ);

  char text[8] = {};
  LONG length = sizeof text;
  EXPECT_EQ(RegQueryValueA(key, "App", text, &length), ERROR_SUCCESS);
  EXPECT_STREQ(text, "def");
  EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Empty", 0, KEY_READ, &app), ERROR_SUCCESS);
  RegCloseKey(app);
  RegCloseKey(key);
}

TEST_F(Registry, ComputerNameComesFromTheHostName) {
  char host[256] = {};
  ASSERT_EQ(gethostname(host, sizeof host - 1), 0);
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Control\\ComputerName\\ComputerName\\", 0,
                          KEY_READ, &key),
            ERROR_SUCCESS);
  DWORD type = REG_NONE;
  LONG result = 0;
  BYTE data[300] = {};
  DWORD size = sizeof data;
  result = RegQueryValueExA(key, "ComputerName", nullptr, &type, data, &size);
  EXPECT_EQ(result, ERROR_SUCCESS);
  EXPECT_EQ(type, REG_SZ);
  EXPECT_STREQ(reinterpret_cast<char*>(data), host);
  RegCloseKey(key);
}

}  // namespace
