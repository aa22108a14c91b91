#include <gtest/gtest.h>

#include <sys/utsname.h>

#include <cstring>

#include "toolkit/hex_format.h"
#include "toolkit/win_version.h"

namespace {

TEST(HexFormat, FixedWidthDigits) {
  struct Case {
    ULONG value;
    BYTE length;
    const char* text;
  } cases[] = {
      {255, 4, "00FF"},        {65535, 8, "0000FFFF"},  {65536, 4, "#000"},     {0, 0, ""},
      {0xDEADBEEF, 8, "DEADBEEF"}, {0xABC, 1, "#"},        {0xA, 1, "A"},          {0x12345678, 6, "#45678"},
      {0xFFFFFFFF, 12, "0000FFFFFFFF"}, {1, 20, "00000000000000000001"},
  };
  for (const auto& c : cases) EXPECT_EQ(kx_FormatHex(c.value, c.length), c.text) << c.value << "/" << int(c.length);
  EXPECT_EQ(kx_FormatHex(7, 255).size(), 255u);
}

TEST(HexFormat, Nibbles) {
  const char* digits = "0123456789ABCDEF";
  for (LONG v = 0; v < 16; ++v) EXPECT_EQ(kx_NIB2HEX(v), std::string(1, digits[v]));
  for (LONG v : {16, 255, -1}) EXPECT_EQ(kx_NIB2HEX(v), "#");
}

struct Editions {
  LONG mediaCenter = 0, tablet = 0, terminalServer = 0, starter = 0;
};

toolkit::VersionFacts Nt(DWORD major, DWORD minor, DWORD build, const char* servicePack, bool extended = true,
                         BYTE productType = VER_NT_WORKSTATION, Editions editions = {}) {
  toolkit::VersionFacts f;
  f.plain.dwPlatformId = VER_PLATFORM_WIN32_NT;
  f.plain.dwMajorVersion = f.extended.dwMajorVersion = major;
  f.plain.dwMinorVersion = f.extended.dwMinorVersion = minor;
  f.plain.dwBuildNumber = build;
  std::strncpy(f.plain.szCSDVersion, servicePack, sizeof f.plain.szCSDVersion - 1);
  f.extendedRead = extended;
  f.extended.wProductType = productType;
  f.mediaCenter = editions.mediaCenter;
  f.tablet = editions.tablet;
  f.terminalServer = editions.terminalServer;
  f.starter = editions.starter;
  return f;
}

TEST(WinVersion, NamesEditionsAndNumbers) {
  struct Case {
    toolkit::VersionFacts facts;
    const char* line;
  } cases[] = {
      {Nt(6, 1, 7601, "Service Pack 1"), "Win 7   - 6.1.7601 Service Pack 1"},
      {Nt(6, 2, 9200, "", true, 3), "Win 2012- 6.2.9200 "},
      {Nt(6, 1, 7600, "", true, 3), "Win 2008 R2- 6.1.7600 "},
      {Nt(6, 0, 6001, "", false), "Win 2008- 6.0.6001 "},
      {Nt(6, 0, 6002, "", false), "WinVista- 6.0.6002 "},
      {Nt(6, 0, 6100, "", false), "Windows - 6.0.6100 "},
      {Nt(6, 3, 9600, ""), "Windows - 6.3.9600 "},
      {Nt(5, 1, 2600, "Service Pack 3"), "Win XP  - 5.1.2600 Service Pack 3"},
      {Nt(4, 0, 1381, ""), "Win NT  - 4.0.1381 "},
      {Nt(5, 1, 2600, "", true, 1, {.mediaCenter = 1}), "Win XP  -, Media Center 5.1.2600 "},
      {Nt(6, 1, 7601, "", true, 1, {1, 1, 2, 1}),
       "Win 7   -, Tablet, Terminal Server (remote session), Starter Edition 6.1.7601 "},
      {Nt(6, 1, 7601, "", true, 1, {.terminalServer = 1}), "Win 7   -, Terminal Server 6.1.7601 "},
  };
  for (const auto& c : cases) EXPECT_EQ(toolkit::DescribeVersion(c.facts, 1), c.line);
  EXPECT_EQ(toolkit::DescribeVersion(cases[0].facts, 0), "617601");

  toolkit::VersionFacts old;
  old.plain.dwPlatformId = VER_PLATFORM_WIN32_WINDOWS;
  old.plain.dwMinorVersion = 10;
  old.plain.dwBuildNumber = 0x040A0BB8;
  EXPECT_EQ(toolkit::DescribeVersion(old, 1), "Win 98  - 0.10.3000 ");
  EXPECT_EQ(toolkit::DescribeVersion(toolkit::VersionFacts{}, 1), "Win 3.1 0.0.0 ");
}

TEST(WinVersion, TheRunningKernel) {
  utsname names{};
  ASSERT_EQ(uname(&names), 0);
  OSVERSIONINFOEXA kernel = win::VersionFromKernelRelease(names.release);
  std::string numbers = std::to_string(kernel.dwMajorVersion) + "." + std::to_string(kernel.dwMinorVersion) + "." +
                        std::to_string(kernel.dwBuildNumber);
  EXPECT_EQ(kx_GetWinVersion(), "Linux " + numbers + " " + kernel.szCSDVersion);
  EXPECT_EQ(kx_GetWinVersionEx(0), std::to_string(kernel.dwMajorVersion) + std::to_string(kernel.dwMinorVersion) +
                                       std::to_string(kernel.dwBuildNumber));
}

}  // namespace
