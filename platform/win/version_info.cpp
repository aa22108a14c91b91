#include "platform/win/version_info.h"

#include <sys/utsname.h>

#include <cctype>
#include <cerrno>
#include <cstring>

#include "platform/win/last_error.h"

namespace {

constexpr DWORD kInsufficientBuffer = 122;

// Reads up to three dot-separated numbers; leaves p after them.
DWORD ReadNumber(const char*& p) {
  DWORD value = 0;
  while (std::isdigit(static_cast<unsigned char>(*p))) {
    DWORD digit = static_cast<DWORD>(*p - '0');
    value = value > (0xFFFFFFFFu - digit) / 10 ? 0xFFFFFFFFu : value * 10 + digit;
    ++p;
  }
  return value;
}

bool ReadRunningKernel(OSVERSIONINFOEXA& out) {
  utsname names{};
  if (uname(&names) != 0) {
    SetLastErrorFromErrno(errno);
    return false;
  }
  out = win::VersionFromKernelRelease(names.release);
  return true;
}

template <class Record>
void CopyPlain(const OSVERSIONINFOEXA& from, Record& to) {
  to.dwMajorVersion = from.dwMajorVersion;
  to.dwMinorVersion = from.dwMinorVersion;
  to.dwBuildNumber = from.dwBuildNumber;
  to.dwPlatformId = from.dwPlatformId;
  std::memcpy(to.szCSDVersion, from.szCSDVersion, sizeof to.szCSDVersion);
}

}  // namespace

namespace win {
OSVERSIONINFOEXA VersionFromKernelRelease(const char* release) {
  OSVERSIONINFOEXA info;
  info.dwOSVersionInfoSize = sizeof info;
  info.dwPlatformId = VER_PLATFORM_LINUX;
  if (release == nullptr) return info;
  const char* p = release;
  DWORD* numbers[] = {&info.dwMajorVersion, &info.dwMinorVersion, &info.dwBuildNumber};
  for (size_t i = 0; i < 3; ++i) {
    if (i > 0) {
      if (*p != '.' || !std::isdigit(static_cast<unsigned char>(p[1]))) break;
      ++p;
    }
    *numbers[i] = ReadNumber(p);
  }
  while (*p == '-' || *p == '.' || *p == '+' || *p == '_') ++p;
  std::strncpy(info.szCSDVersion, p, sizeof info.szCSDVersion - 1);
  return info;
}
}  // namespace win

BOOL GetVersionExA(OSVERSIONINFOA* info) {
  if (info == nullptr || info->dwOSVersionInfoSize != sizeof(OSVERSIONINFOA)) {
    SetLastError(kInsufficientBuffer);
    return FALSE;
  }
  OSVERSIONINFOEXA running;
  if (!ReadRunningKernel(running)) return FALSE;
  CopyPlain(running, *info);
  return TRUE;
}

BOOL GetVersionExA(OSVERSIONINFOEXA* info) {
  if (info == nullptr || info->dwOSVersionInfoSize != sizeof(OSVERSIONINFOEXA)) {
    SetLastError(kInsufficientBuffer);
    return FALSE;
  }
  OSVERSIONINFOEXA running;
  if (!ReadRunningKernel(running)) return FALSE;
  CopyPlain(running, *info);
  info->wProductType = running.wProductType;
  return TRUE;
}
