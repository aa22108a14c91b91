#pragma once
// The running system's version (kernel32's GetVersionExA). It describes the Linux kernel
// (platform id VER_PLATFORM_LINUX, the numbers of the kernel release) and never pretends
// to be a Windows release.
#include "platform/win/types.h"

struct OSVERSIONINFOA {
  DWORD dwOSVersionInfoSize = 0;  // the caller sets sizeof the record it passes
  DWORD dwMajorVersion = 0;
  DWORD dwMinorVersion = 0;
  DWORD dwBuildNumber = 0;
  DWORD dwPlatformId = 0;
  char szCSDVersion[128] = {};
};

struct OSVERSIONINFOEXA {
  DWORD dwOSVersionInfoSize = 0;
  DWORD dwMajorVersion = 0;
  DWORD dwMinorVersion = 0;
  DWORD dwBuildNumber = 0;
  DWORD dwPlatformId = 0;
  char szCSDVersion[128] = {};
  WORD wServicePackMajor = 0;
  WORD wServicePackMinor = 0;
  WORD wSuiteMask = 0;
  BYTE wProductType = 0;
  BYTE wReserved = 0;
};

inline constexpr DWORD VER_PLATFORM_WIN32s = 0;
inline constexpr DWORD VER_PLATFORM_WIN32_WINDOWS = 1;
inline constexpr DWORD VER_PLATFORM_WIN32_NT = 2;
inline constexpr DWORD VER_PLATFORM_LINUX = 0x4C58;  // ours: never a Windows platform id
inline constexpr BYTE VER_NT_WORKSTATION = 1;

// FALSE with ERROR_INSUFFICIENT_BUFFER (122) when the size field does not name the
// record. The numbers are the first three of the kernel release ("6.1.0-18-amd64" gives
// 6, 1, 0) and the service-pack text is the rest of it ("18-amd64").
BOOL GetVersionExA(OSVERSIONINFOA* info);
BOOL GetVersionExA(OSVERSIONINFOEXA* info);

namespace win {
// The same reading of a kernel release text, for any release.
OSVERSIONINFOEXA VersionFromKernelRelease(const char* release);
}
