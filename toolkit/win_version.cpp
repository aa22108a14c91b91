#include "toolkit/win_version.h"

#include <cstring>

#include "platform/rt/dialogs.h"
#include "toolkit/clip.h"
#include "toolkit/error_state.h"
#include "toolkit/system_info.h"

namespace {

std::string NtName(DWORD major, DWORD minor, DWORD build, bool extendedRead, BYTE productType) {
  if (major == 5) {
    switch (minor) {
      case 0: return "Win 2K  -";
      case 1: return "Win XP  -";
      case 2: return "Win 2K3 -";
      default: return "Win NT  -";
    }
  }
  if (major != 6) return "Win NT  -";
  bool workstation = productType == VER_NT_WORKSTATION;
  if (extendedRead) {
    switch (minor) {
      case 0: return workstation ? "WinVista-" : "Win 2008-";
      case 1: return workstation ? "Win 7   -" : "Win 2008 R2-";
      case 2: return workstation ? "Win 8   -" : "Win 2012-";
      default: return {};
    }
  }
  switch (minor) {
    case 0: return build == 6000 || build == 6002 ? "WinVista-" : build == 6001 ? "Win 2008-" : "";
    case 1: return "Win 7   -";
    case 2: return "Win 8   -";
    default: return {};
  }
}

}  // namespace

namespace toolkit {
std::string DescribeVersion(const VersionFacts& facts, LONG description) {
  const OSVERSIONINFOA& plain = facts.plain;
  DWORD major = facts.extendedRead ? facts.extended.dwMajorVersion : plain.dwMajorVersion;
  DWORD minor = facts.extendedRead ? facts.extended.dwMinorVersion : plain.dwMinorVersion;
  DWORD build = plain.dwBuildNumber;
  std::string name;
  switch (plain.dwPlatformId) {
    case VER_PLATFORM_WIN32s: name = "Win 3.1"; break;
    case VER_PLATFORM_WIN32_WINDOWS:
      name = minor == 0 ? "Win 95  -" : "Win 98  -";
      build &= 0xFFFF;
      break;
    case VER_PLATFORM_WIN32_NT:
      name = NtName(major, minor, build, facts.extendedRead, facts.extended.wProductType);
      break;
    case VER_PLATFORM_LINUX: name = "Linux"; break;
    default: break;
  }
  if (name.empty()) name = "Windows -";

  bool sixOneOrTwo = major == 6 && (minor == 1 || minor == 2);
  if (facts.mediaCenter != 0 && !sixOneOrTwo) name = std::string(Clip(name)) + ", Media Center";
  if (facts.tablet != 0) name = std::string(Clip(name)) + ", Tablet";
  if (facts.terminalServer == 1) name = std::string(Clip(name)) + ", Terminal Server";
  if (facts.terminalServer == 2) name = std::string(Clip(name)) + ", Terminal Server (remote session)";
  if (facts.starter != 0) name = std::string(Clip(name)) + ", Starter Edition";

  std::string numbers = description != 0
                            ? std::to_string(major) + "." + std::to_string(minor) + "." + std::to_string(build)
                            : std::to_string(major) + std::to_string(minor) + std::to_string(build);
  if (description == 0) return numbers;
  std::string servicePack(plain.szCSDVersion, strnlen(plain.szCSDVersion, sizeof plain.szCSDVersion));
  return std::string(Clip(name)) + " " + numbers + " " + servicePack;
}
}  // namespace toolkit

std::string kx_GetWinVersionEx(LONG description) {
  kx_ErrorReset("kx_GetWinVersion");
  toolkit::VersionFacts facts;
  facts.plain.dwOSVersionInfoSize = sizeof facts.plain;
  facts.extended.dwOSVersionInfoSize = sizeof facts.extended;
  if (!GetVersionExA(&facts.plain)) {
    MESSAGE("GetVersionEx failed");
    facts.plain = OSVERSIONINFOA{};
  }
  if (facts.plain.dwPlatformId == VER_PLATFORM_WIN32_NT) facts.extendedRead = GetVersionExA(&facts.extended) != FALSE;
  facts.mediaCenter = kx_IsMediaCenter();
  facts.tablet = kx_IsTablet();
  facts.terminalServer = kx_IsTerminalServer();
  facts.starter = kx_IsStarter();
  return toolkit::DescribeVersion(facts, description);
}

std::string kx_GetWinVersion() { return kx_GetWinVersionEx(1); }
