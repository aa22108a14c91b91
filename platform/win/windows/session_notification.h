#pragma once
// The terminal-services session notifications ("Wtsapi32"). A Linux desktop session has
// no such notifications to give, so registration only checks the window; nothing is
// ever reported afterwards.

#include "platform/win/modules/library.h"

inline constexpr DWORD NOTIFY_FOR_THIS_SESSION = 0;
inline constexpr DWORD NOTIFY_FOR_ALL_SESSIONS = 1;

using WTSRegisterSessionNotificationProc = BOOL (*)(HWND hwnd, DWORD flags);
using WTSUnRegisterSessionNotificationProc = BOOL (*)(HWND hwnd);

namespace win {
LibraryExports SessionNotificationExports();
}
