#include "toolkit/desktop_placement.h"

#include <string>

#include "platform/rt/display.h"
#include "platform/rt/props.h"
#include "platform/rt/system.h"
#include "platform/win/windows/desktop_metrics.h"
#include "toolkit/error_state.h"

namespace {

struct Desktop {
  LONG x = 0;
  LONG y = 0;
  LONG width = 0;
  LONG height = 0;
};

// The 5-pixel margin keeps a window that only touches a strip's edge from counting.
bool Meets(LONG low, LONG high, LONG areaLow, LONG areaHigh) {
  auto within = [&](LONG v) { return areaLow <= v && v <= areaHigh; };
  return within(low + 5) || within(high - 5) || (low <= areaLow && areaLow <= high);
}

bool ReadWorkArea(RECT& area) {
  if (SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0)) return true;
  kx_ErrorSet(KX_ERR_VISIBLEONDESKTOP, kx_WinError());
  return false;
}

// Leaves out a taskbar strip along one axis: a strip before the work area (top or left)
// is examined first, the one after it only when there is none before. A strip counts when
// it is thicker than 0 and thinner than half the work area.
void LeaveOutStrip(LONG& origin, LONG& extent, LONG areaLow, LONG areaHigh, bool windowMeetsArea) {
  LONG maxStrip = (areaHigh - areaLow) / 2;
  LONG before = areaLow - origin;
  if (before > 0 && before < maxStrip) {
    if (windowMeetsArea) {
      extent -= before;
      origin = areaLow;
    }
    return;
  }
  LONG after = origin + extent - areaHigh;
  if (after > 0 && after < maxStrip && windowMeetsArea) extent -= after;
}

// Moves [low, high) inside [origin, origin + extent); a span longer than the desktop gets
// the desktop's whole extent.
void Clamp(LONG& low, LONG& high, LONG origin, LONG extent) {
  if (low < origin) {
    high += origin - low;
    low = origin;
  }
  LONG overhang = high - (origin + extent);
  if (overhang <= 0) return;
  if (overhang <= low - origin) {
    low -= overhang;
    high -= overhang;
  } else {
    low = origin;
    high = origin + extent;
  }
}

LONG PlaceInsideDesktop(RECT& r, BYTE mode) {
  Desktop d{GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
            GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)};
  if (d.width == 0) {
    RECT area;
    if (!ReadWorkArea(area)) return 1;
    d = Desktop{area.left, area.top, area.right - area.left, area.bottom - area.top};
  }
  if (mode == KX_DESKTOP_WITHOUT_TASKBARS) {
    RECT w;
    if (!ReadWorkArea(w)) return 1;
    LeaveOutStrip(d.y, d.height, w.top, w.bottom, Meets(r.left, r.right, w.left, w.right));
    LeaveOutStrip(d.x, d.width, w.left, w.right, Meets(r.top, r.bottom, w.top, w.bottom));
  }
  Clamp(r.left, r.right, d.x, d.width);
  Clamp(r.top, r.bottom, d.y, d.height);
  return 0;
}

}  // namespace

LONG kx_VisibleOnDesktop(BYTE mode) {
  kx_ErrorReset("kx_VisibleOnDesktop");
  if (rt::SystemProp(PROP::Target) == 0) return 0;
  // Work in pixels; the window's own unit comes back afterwards.
  std::string pixels = rt::GetProp(0, PROP::Pixels);
  rt::SetProp(0, PROP::Pixels, 1LL);
  auto xpos = static_cast<LONG>(rt::GetPropNumber(0, PROP::Xpos));
  auto ypos = static_cast<LONG>(rt::GetPropNumber(0, PROP::Ypos));
  auto width = static_cast<LONG>(rt::GetPropNumber(0, PROP::Width));
  auto height = static_cast<LONG>(rt::GetPropNumber(0, PROP::Height));
  RECT r;
  if (!GetWindowRect(reinterpret_cast<HWND>(rt::GetPropNumber(0, PROP::Handle)), &r)) {
    kx_ErrorSet(KX_ERR_VISIBLEONDESKTOP, kx_WinError());
    r = RECT{};
  }
  // The outer rectangle includes the frame; the runtime's position and size may not.
  LONG xOffset = r.left - xpos;
  LONG yOffset = r.top - ypos;
  LONG xBorder = (r.right - r.left) - width;
  LONG yBorder = (r.bottom - r.top) - height;
  LONG result = PlaceInsideDesktop(r, mode);
  if (result == 0) {
    rt::SetProp(0, PROP::Xpos, static_cast<long long>(r.left - xOffset));
    rt::SetProp(0, PROP::Ypos, static_cast<long long>(r.top - yOffset));
    rt::SetProp(0, PROP::Width, static_cast<long long>((r.right - r.left) - xBorder));
    rt::SetProp(0, PROP::Height, static_cast<long long>((r.bottom - r.top) - yBorder));
  }
  rt::SetProp(0, PROP::Pixels, pixels);
  return result;
}

LONG kx_VisibleOnDesktop(LONG& x, LONG& y, LONG& width, LONG& height, BYTE mode) {
  kx_ErrorReset("kx_VisibleOnDesktop");
  RECT r{x, y, x + width, y + height};
  if (PlaceInsideDesktop(r, mode) != 0) return 1;
  x = r.left;
  y = r.top;
  width = r.right - r.left;
  height = r.bottom - r.top;
  return 0;
}
