#include <gtest/gtest.h>

#include <cstring>

#include "platform/win/system/last_error.h"
#include "platform/win/system/user_name.h"
#include "platform/win/system/version_info.h"
#include "platform/win/windows/desktop_metrics.h"
#include "platform/win/windows/window.h"

namespace {

TEST(DesktopMetrics, AnswerWhatTheScreenTold) {
  win::ClearDesktopMetrics();
  RECT area;
  EXPECT_EQ(GetSystemMetrics(SM_CXVIRTUALSCREEN), 0);
  EXPECT_FALSE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0));

  win::SetDesktopMetrics({RECT{-1280, 0, 1920, 1080}, RECT{0, 0, 1920, 1040}});
  EXPECT_EQ(GetSystemMetrics(SM_XVIRTUALSCREEN), -1280);
  EXPECT_EQ(GetSystemMetrics(SM_YVIRTUALSCREEN), 0);
  EXPECT_EQ(GetSystemMetrics(SM_CXVIRTUALSCREEN), 3200);
  EXPECT_EQ(GetSystemMetrics(SM_CYVIRTUALSCREEN), 1080);
  for (int edition : {SM_TABLETPC, SM_MEDIACENTER, SM_STARTER, SM_REMOTESESSION, SM_REMOTECONTROL}) {
    EXPECT_EQ(GetSystemMetrics(edition), 0);
  }
  ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0));
  EXPECT_EQ(area.bottom, 1040);
  win::ClearDesktopMetrics();
}

TEST(DesktopMetrics, WindowRectangles) {
  HWND window = CreateWindowHandle(nullptr);
  RECT r{1, 1, 1, 1};
  ASSERT_TRUE(GetWindowRect(window, &r));
  EXPECT_EQ(r.right, 0);  // not placed yet
  win::SetWindowScreenRect(window, RECT{10, 20, 110, 220});
  ASSERT_TRUE(GetWindowRect(window, &r));
  EXPECT_EQ(r.left, 10);
  EXPECT_EQ(r.bottom, 220);
  DestroyWindow(window);
  EXPECT_FALSE(GetWindowRect(window, &r));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
}

TEST(VersionInfo, KernelReleaseGivesTheNumbers) {
  struct Case {
    const char* release;
    DWORD major, minor, build;
    const char* rest;
  } cases[] = {
      {"6.1.0-18-amd64", 6, 1, 0, "18-amd64"},
      {"5.15.167.4-microsoft-standard-WSL2", 5, 15, 167, "4-microsoft-standard-WSL2"},
      {"6.8", 6, 8, 0, ""},
      {"weird", 0, 0, 0, "weird"},
      {"4.99999999999.1", 4, 0xFFFFFFFF, 1, ""},
  };
  for (const auto& c : cases) {
    OSVERSIONINFOEXA info = win::VersionFromKernelRelease(c.release);
    EXPECT_EQ(info.dwPlatformId, VER_PLATFORM_LINUX);
    EXPECT_EQ(info.dwMajorVersion, c.major) << c.release;
    EXPECT_EQ(info.dwMinorVersion, c.minor) << c.release;
    EXPECT_EQ(info.dwBuildNumber, c.build) << c.release;
    EXPECT_STREQ(info.szCSDVersion, c.rest) << c.release;
  }
}

TEST(VersionInfo, RecordSizeMustNameTheRecord) {
  OSVERSIONINFOA plain;
  EXPECT_FALSE(GetVersionExA(&plain));
  EXPECT_EQ(GetLastError(), 122u);
  plain.dwOSVersionInfoSize = sizeof plain;
  ASSERT_TRUE(GetVersionExA(&plain));
  EXPECT_EQ(plain.dwPlatformId, VER_PLATFORM_LINUX);
  OSVERSIONINFOEXA extended;
  extended.dwOSVersionInfoSize = sizeof extended;
  ASSERT_TRUE(GetVersionExA(&extended));
  EXPECT_EQ(extended.dwMajorVersion, plain.dwMajorVersion);
}

TEST(UserName, LoginNameOrMoreData) {
  char name[256] = {};
  DWORD length = sizeof name;
  ASSERT_EQ(WNetGetUserA(nullptr, name, &length), NO_ERROR);
  ASSERT_GT(std::strlen(name), 0u);
  char tiny[1];
  DWORD tinyLength = 1;
  EXPECT_EQ(WNetGetUserA(nullptr, tiny, &tinyLength), 234u);
  EXPECT_EQ(tinyLength, std::strlen(name) + 1);
}

}  // namespace
