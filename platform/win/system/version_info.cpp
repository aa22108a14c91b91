#include "platform/win/system/version_info.h"

#include <sys/utsname.h>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <type_traits>

#include "platform/win/system/last_error.h"

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

// Fills either record from the running kernel; the extended one also takes the product type.
template <class Record>
BOOL FillVersion(Record* info) {
  if (info == nullptr || info->dwOSVersionInfoSize != sizeof(Record)) {
    SetLastError(kInsufficientBuffer);
    return FALSE;
  }
  OSVERSIONINFOEXA running;
  if (!ReadRunningKernel(running)) return FALSE;
  info->dwMajorVersion = running.dwMajorVersion;
  info->dwMinorVersion = running.dwMinorVersion;
  info->dwBuildNumber = running.dwBuildNumber;
  info->dwPlatformId = running.dwPlatformId;
  std::memcpy(info->szCSDVersion, running.szCSDVersion, sizeof info->szCSDVersion);
  if constexpr (std::is_same_v<Record, OSVERSIONINFOEXA>) info->wProductType = running.wProductType;
  return TRUE;
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

BOOL GetVersionExA(OSVERSIONINFOA* info) { return FillVersion(info); }

BOOL GetVersionExA(OSVERSIONINFOEXA* info) { return FillVersion(info); }
