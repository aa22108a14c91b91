#pragma once
// A window with every control kind the program's windows use, laid out as the main
// window is: the screen tests drive it and the screenshot test renders it.
#include <string>

#include "platform/rt/list_source.h"
#include "platform/rt/queue.h"
#include "platform/rt/window_def.h"

namespace demo {

struct CabRow {
  LONG CabNum = 0;
  LONG UserCab = 0;
  std::string Name;
};

struct DeviceRow {
  std::string DeviceName;
};

namespace ctl {
inline constexpr int MIDIDEVICEGROUP = 1, MIDIINPROMPT = 2, INDEVICELIST = 3, CONNECTBUTTON = 4, CABNUMBER = 5,
                     CAB1 = 6, CAB2 = 7, OFFSETGROUP = 8, USERCABOFFSET = 9, REFRESHBUTTON = 10, SHEET = 11,
                     ALLCABSTAB = 12, ALLCABLIST = 13, FAVECABSTAB = 14, FAVCABLIST = 15, SAFETYMODE = 16,
                     PACKETCOUNT = 17, CABNAME = 18, LOGO = 19, LINKREGION = 20, BOX = 21;
}

struct DemoWindow {
  rt::Queue<CabRow> cabs;
  rt::Queue<CabRow> favourites;
  rt::Queue<DeviceRow> devices;
  LONG cabNumber = 0;
  LONG userCabOffset = 0;
  LONG safetyMode = 1;
  LONG packetCount = 0;
  std::string cabName;
  rt::WindowDef def;

  DemoWindow();
};

}  // namespace demo
