#include "platform/win/windows/desktop_metrics.h"

#include <map>
#include <mutex>
#include <optional>

#include "platform/win/system/last_error.h"
#include "platform/win/windows/window.h"

namespace {

std::mutex gLock;
std::optional<win::DesktopMetrics> gDesktop;
std::map<HWND, RECT> gWindowRects;

constexpr DWORD kNotSupported = 120;  // ERROR_CALL_NOT_IMPLEMENTED: no screen to ask

}  // namespace

int GetSystemMetrics(int index) {
  std::lock_guard guard(gLock);
  if (!gDesktop) return 0;
  const RECT& screen = gDesktop->virtualScreen;
  switch (index) {
    case SM_XVIRTUALSCREEN: return screen.left;
    case SM_YVIRTUALSCREEN: return screen.top;
    case SM_CXVIRTUALSCREEN: return screen.right - screen.left;
    case SM_CYVIRTUALSCREEN: return screen.bottom - screen.top;
    default: return 0;
  }
}

BOOL SystemParametersInfoA(UINT action, UINT /*uiParam*/, void* pvParam, UINT /*winIni*/) {
  if (action != SPI_GETWORKAREA || pvParam == nullptr) {
    SetLastError(87);  // ERROR_INVALID_PARAMETER
    return FALSE;
  }
  std::lock_guard guard(gLock);
  if (!gDesktop) {
    SetLastError(kNotSupported);
    return FALSE;
  }
  *static_cast<RECT*>(pvParam) = gDesktop->workArea;
  return TRUE;
}

BOOL GetWindowRect(HWND hwnd, RECT* rect) {
  if (rect == nullptr) {
    SetLastError(87);
    return FALSE;
  }
  if (!IsWindow(hwnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  std::lock_guard guard(gLock);
  auto it = gWindowRects.find(hwnd);
  *rect = it == gWindowRects.end() ? RECT{} : it->second;
  return TRUE;
}

namespace win {
void SetDesktopMetrics(const DesktopMetrics& metrics) {
  std::lock_guard guard(gLock);
  gDesktop = metrics;
}

void ClearDesktopMetrics() {
  std::lock_guard guard(gLock);
  gDesktop.reset();
}

void SetWindowScreenRect(HWND hwnd, const RECT& rect) {
  std::lock_guard guard(gLock);
  gWindowRects[hwnd] = rect;
}
}  // namespace win
