#include <gtest/gtest.h>

#include "platform/win/modules/library.h"
#include "platform/win/system/last_error.h"
#include "platform/win/system/socket_library.h"
#include "platform/win/windows/window.h"

namespace {

TEST(RunTimeLibraries, ProviderNamesIgnoreCaseAndDllSuffix) {
  for (const char* name : {"Wtsapi32", "WTSAPI32.DLL", "wtsapi32.dll"}) {
    HMODULE module = LoadLibraryA(name);
    ASSERT_NE(module, nullptr) << name;
    EXPECT_NE(GetProcAddress(module, "WTSRegisterSessionNotification"), nullptr) << name;
    EXPECT_TRUE(FreeLibrary(module));
  }
}

TEST(RunTimeLibraries, FailuresLeaveTheirErrors) {
  EXPECT_EQ(LoadLibraryA("no-such-library-anywhere"), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);

  HMODULE module = LoadLibraryA("wsock32");
  ASSERT_NE(module, nullptr);
  EXPECT_EQ(GetProcAddress(module, "WSAStartupNever"), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_PROC_NOT_FOUND);
  EXPECT_TRUE(FreeLibrary(module));
  // The last reference is gone: the handle no longer answers.
  EXPECT_FALSE(FreeLibrary(module));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  EXPECT_EQ(GetProcAddress(module, "gethostname"), nullptr);
}

TEST(RunTimeLibraries, SharedLibrariesBindThroughTheLoader) {
  HMODULE zlib = LoadLibraryA("libz.so.1");
  ASSERT_NE(zlib, nullptr);
  using VersionProc = const char* (*)();
  auto version = reinterpret_cast<VersionProc>(GetProcAddress(zlib, "zlibVersion"));
  ASSERT_NE(version, nullptr);
  EXPECT_NE(std::string(version()), "");
  EXPECT_EQ(LoadLibraryA("libz.so.1"), zlib);  // same library, one more reference
  EXPECT_TRUE(FreeLibrary(zlib));
  EXPECT_TRUE(FreeLibrary(zlib));
}

TEST(RunTimeLibraries, HostNameAndSessionServices) {
  HMODULE sockets = LoadLibraryA("wsock32");
  auto hostName = reinterpret_cast<gethostnameProc>(GetProcAddress(sockets, "gethostname"));
  char name[256] = {};
  ASSERT_EQ(hostName(name, sizeof name), 0);
  EXPECT_NE(name[0], '\0');
  EXPECT_EQ(hostName(nullptr, 10), SOCKET_ERROR);
  EXPECT_NE(reinterpret_cast<WSAGetLastErrorProc>(GetProcAddress(sockets, "WSAGetLastError"))(), 0);
  FreeLibrary(sockets);

  HMODULE wts = LoadLibraryA("Wtsapi32");
  using Register = BOOL (*)(HWND, DWORD);
  auto reg = reinterpret_cast<Register>(GetProcAddress(wts, "WTSRegisterSessionNotification"));
  HWND window = CreateWindowHandle(nullptr);
  EXPECT_TRUE(reg(window, 1));
  DestroyWindow(window);
  EXPECT_FALSE(reg(window, 1));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
  FreeLibrary(wts);
}

}  // namespace
