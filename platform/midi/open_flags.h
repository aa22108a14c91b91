#pragma once
// Checks shared by midiInOpen and midiOutOpen.
#include "platform/midi/mmsystem.h"

namespace midi {
// The window that notifications go to (nullptr for CALLBACK_NULL), or an error for flags we
// do not offer or a callback that is not a window.
MMRESULT NotificationWindow(DWORD_PTR callback, DWORD flags, DWORD allowedExtra, HWND& window);
}  // namespace midi
