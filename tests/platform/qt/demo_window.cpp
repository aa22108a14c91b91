#include "demo_window.h"

#include "platform/rt/control_kind.h"
#include "platform/rt/props.h"

namespace demo {

DemoWindow::DemoWindow() {
  using rt::Kind;
  rt::AnnounceControlKinds({Kind::Group, Kind::Prompt, Kind::List, Kind::Button, Kind::Option, Kind::Radio, Kind::Spin,
                            Kind::Sheet, Kind::Tab, Kind::Check, Kind::String, Kind::Entry, Kind::Image, Kind::Region,
                            Kind::Box});
  const char* names[] = {"4x12 Green 25", "2x12 Blue", "1x12 Open Back", "4x10 Bass", "1x15 Jazz"};
  for (int i = 0; i < 5; ++i) {
    cabs->CabNum = i + 1;
    cabs->UserCab = i >= 3 ? i - 2 : 0;
    cabs->Name = names[i];
    cabs.Add(&CabRow::CabNum);
  }
  favourites.Buffer() = CabRow{4, 1, "4x10 Bass"};
  favourites.Add(&CabRow::CabNum);
  for (const char* port : {"Boxwright Simulator", "USB MIDI Interface"}) {
    devices->DeviceName = port;
    devices.Add();
  }

  const char* cabsFormat = "32R(2)|M~Cab No.~@n_3@32R(2)|M~User Cab~@N_3B@252L(2)|M~Name~@s63@";
  auto cabCells = [](const CabRow& r) { return rt::Columns(r.CabNum, r.UserCab, r.Name); };
  def = rt::WindowDef{.label = "DEMO$WINDOW",
                      .caption = "Boxwright Screen Demo",
                      .font = {.name = "Tahoma", .size = 8},
                      .icon = "boxwright.ico",
                      .wallpaper = "tweed.png",
                      .at = {0, 0, 348, 239},
                      .centered = true,
                      .resizable = true};
  def.controls = {
      {.equate = "MIDIDEVICEGROUP", .kind = Kind::Group, .text = "MIDI Devices", .at = {4, 2, 340, 32}},
      {.equate = "MIDIINPROMPT", .kind = Kind::Prompt, .text = "MIDI &In:", .at = {10, 16, 32, 10}},
      {.equate = "INDEVICELIST", .kind = Kind::List, .at = {44, 14, 150, 12}, .from = rt::From(devices, [](const DeviceRow& r) { return rt::Columns(r.DeviceName); }), .drop = true},
      {.equate = "CONNECTBUTTON", .kind = Kind::Button, .text = "Connect", .at = {290, 13, 50, 14}},
      {.equate = "CAB:NUMBER", .kind = Kind::Option, .text = "Cabinet", .at = {4, 38, 70, 26}, .use = cabNumber},
      {.equate = "CAB1", .kind = Kind::Radio, .text = "Cab 1", .at = {10, 49, 28, 10}, .parent = ctl::CABNUMBER, .value = "0"},
      {.equate = "CAB2", .kind = Kind::Radio, .text = "Cab 2", .at = {40, 49, 30, 10}, .parent = ctl::CABNUMBER, .value = "1"},
      {.equate = "OFFSETGROUP", .kind = Kind::Group, .text = "User Cab Offset", .at = {80, 38, 70, 26}},
      {.equate = "GLO:USERCABOFFSET", .kind = Kind::Spin, .at = {88, 48, 40, 12}, .use = userCabOffset, .picture = "@n3", .chars = 3, .low = 0, .high = 999},
      {.equate = "REFRESHBUTTON", .kind = Kind::Button, .text = "Refresh", .at = {290, 44, 50, 16}, .icon = "refresh.ico"},
      {.equate = "SHEET1", .kind = Kind::Sheet, .at = {4, 68, 340, 146}, .dropId = "~FILE"},
      {.equate = "ALLCABSTAB", .kind = Kind::Tab, .text = " All Cabs ", .parent = ctl::SHEET},
      {.equate = "ALLCABLIST", .kind = Kind::List, .at = {10, 86, 328, 122}, .from = rt::From(cabs, cabCells), .format = cabsFormat, .parent = ctl::ALLCABSTAB, .alerts = {KEY::MouseRight}},
      {.equate = "FAVECABSTAB", .kind = Kind::Tab, .text = " Favourite Cabs ", .parent = ctl::SHEET},
      {.equate = "FAVCABLIST", .kind = Kind::List, .at = {10, 86, 328, 122}, .from = rt::From(favourites, cabCells), .format = "32R(2)|M~Cab No.~@n_3@32R(2)|M~User Cab~@n_3B@124L(2)|M~Name~@s31@", .parent = ctl::FAVECABSTAB, .alerts = {KEY::MouseRight}},
      {.equate = "GLO:SAFETYMODE", .kind = Kind::Check, .text = "  Safety Mode On", .at = {4, 220, 80, 12}, .use = safetyMode, .value = "1", .offValue = "0", .font = {.style = 0x2000}},
      {.equate = "LOC:MIDIPACKETCOUNT", .kind = Kind::String, .at = {236, 222, 50, 10}, .use = packetCount, .picture = "@n8", .font = {.size = 10, .style = 700}},
      {.equate = "GLO:CABNAME", .kind = Kind::Entry, .at = {160, 44, 90, 12}, .use = cabName, .chars = 31},
      {.equate = "LOGO", .kind = Kind::Image, .text = "boxwright.ico", .at = {256, 40, 24, 24}},
      {.equate = "LINKREGION", .kind = Kind::Region, .at = {88, 218, 60, 14}},
      {.equate = "BOX", .kind = Kind::Box, .at = {154, 218, 20, 14}},
  };
}

}  // namespace demo
