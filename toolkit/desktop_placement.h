#pragma once
// Moves a window (or a rectangle) so that it lies inside the desktop: the virtual screen
// spanning every monitor, with mode 1 less the thin taskbar strips at its edges.
#include "platform/win/types.h"

inline constexpr BYTE KX_DESKTOP_WITHOUT_TASKBARS = 1;

// The calling thread's current window. 0 done, 1 when the work area cannot be read
// (nothing moved).
LONG kx_VisibleOnDesktop(BYTE mode);
// A rectangle given by position and size; the four variables are rewritten.
LONG kx_VisibleOnDesktop(LONG& x, LONG& y, LONG& width, LONG& height, BYTE mode);
