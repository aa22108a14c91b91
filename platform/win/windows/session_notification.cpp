#include "platform/win/windows/session_notification.h"

#include "platform/win/system/last_error.h"
#include "platform/win/windows/window.h"

namespace {

BOOL WTSRegisterSessionNotification(HWND hwnd, DWORD flags) {
  if (!IsWindow(hwnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  if (flags != NOTIFY_FOR_THIS_SESSION && flags != NOTIFY_FOR_ALL_SESSIONS) {
    SetLastError(87);  // ERROR_INVALID_PARAMETER
    return FALSE;
  }
  return TRUE;
}

BOOL WTSUnRegisterSessionNotification(HWND hwnd) {
  if (!IsWindow(hwnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  return TRUE;
}

}  // namespace

namespace win {
LibraryExports SessionNotificationExports() {
  static const LibraryExport kExports[] = {
      {"WTSRegisterSessionNotification", ExportOf(&WTSRegisterSessionNotification)},
      {"WTSUnRegisterSessionNotification", ExportOf(&WTSUnRegisterSessionNotification)}};
  return kExports;
}
}  // namespace win
