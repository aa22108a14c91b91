#pragma once
// The desktop as the screen reports it: the virtual screen spanning every monitor, the
// work area (the desktop less its taskbars and panels) and the outer rectangle of each
// window. Until a screen has told its metrics there is no desktop: the virtual screen is
// empty and the work area cannot be read.
#include "platform/win/types.h"

struct HWND__;
using HWND = HWND__*;

struct RECT {
  LONG left = 0;
  LONG top = 0;
  LONG right = 0;   // exclusive
  LONG bottom = 0;  // exclusive
};

inline constexpr int SM_XVIRTUALSCREEN = 76;
inline constexpr int SM_YVIRTUALSCREEN = 77;
inline constexpr int SM_CXVIRTUALSCREEN = 78;
inline constexpr int SM_CYVIRTUALSCREEN = 79;
inline constexpr int SM_TABLETPC = 86;
inline constexpr int SM_MEDIACENTER = 87;
inline constexpr int SM_STARTER = 88;
inline constexpr int SM_REMOTESESSION = 0x1000;
inline constexpr int SM_REMOTECONTROL = 0x2001;

inline constexpr UINT SPI_GETWORKAREA = 0x0030;

// The virtual-screen metrics; every other index (the editions Linux does not have
// among them) answers 0.
int GetSystemMetrics(int index);
// SPI_GETWORKAREA writes the work area into the RECT that pvParam points to.
BOOL SystemParametersInfoA(UINT action, UINT uiParam, void* pvParam, UINT winIni);
// The window's outer rectangle in screen pixels; a window that the screen has not placed
// yet has an empty rectangle at 0,0. FALSE for a handle that is not a window.
BOOL GetWindowRect(HWND hwnd, RECT* rect);

namespace win {
struct DesktopMetrics {
  RECT virtualScreen;
  RECT workArea;
};
// Called by the screen whenever monitors or panels change.
void SetDesktopMetrics(const DesktopMetrics& metrics);
// Forgets the desktop again (no screen).
void ClearDesktopMetrics();
// Called by the screen whenever a window's frame moves or changes size.
void SetWindowScreenRect(HWND hwnd, const RECT& rect);
}  // namespace win
