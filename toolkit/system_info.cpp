#include "toolkit/system_info.h"

#include <cstring>

#include "platform/win/system/socket_library.h"
#include "platform/win/system/user_name.h"
#include "platform/win/windows/desktop_metrics.h"
#include "toolkit/clip.h"
#include "toolkit/dll_binding.h"
#include "toolkit/error_state.h"
#include "toolkit/registry_value.h"

namespace {

constexpr int kNameBuffer = 255;

// "wsock32" is platform/win/system/socket_library.cpp.
kx_ProcCell WC_gethostname{KX_CELL_UNTRIED};
kx_ProcCell WC_wsagetlasterror{KX_CELL_UNTRIED};

}  // namespace

LONG kx_IsStarter() { return GetSystemMetrics(SM_STARTER); }
LONG kx_IsTablet() { return GetSystemMetrics(SM_TABLETPC); }
LONG kx_IsMediaCenter() { return GetSystemMetrics(SM_MEDIACENTER); }
LONG kx_IsTerminalServer() { return GetSystemMetrics(SM_REMOTESESSION) + GetSystemMetrics(SM_REMOTECONTROL); }

std::string kx_GetWorkstationName() {
  kx_ErrorReset("kx_GetWorkstationName");
  char name[kNameBuffer + 1] = {};
  if (kx_LoadDLLProc("wsock32", "gethostname", WC_gethostname) == 0 &&
      kx_BoundProc<gethostnameProc>(WC_gethostname)(name, kNameBuffer) == SOCKET_ERROR) {
    // Asked so that the socket library's error is consumed, as its callers must.
    if (kx_LoadDLLProc("wsock32", "WSAGetLastError", WC_wsagetlasterror) == 0) {
      kx_BoundProc<WSAGetLastErrorProc>(WC_wsagetlasterror)();
    }
    name[0] = '\0';
  }
  std::string result(name, strnlen(name, kNameBuffer));
  if (result.empty()) {
    result = kx_RegText(kx_GetReg(HKEY_LOCAL_MACHINE, "ComputerName",
                                  "SYSTEM\\CurrentControlSet\\Control\\ComputerName\\ComputerName\\"))
                 .substr(0, kNameBuffer - 1);
    result.resize(strnlen(result.c_str(), result.size()));
  }
  return std::string(Clip(result));
}

std::string kx_GetUserName() {
  kx_ErrorReset("kx_GetUserName");
  char name[kNameBuffer + 1] = {};
  DWORD length = kNameBuffer;
  if (WNetGetUserA(nullptr, name, &length) != NO_ERROR) return {};
  return std::string(Clip(std::string_view(name, strnlen(name, kNameBuffer))));
}
