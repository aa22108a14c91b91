#include "app/main_window_def.h"

#include "app/globals.h"
#include "platform/rt/props.h"

namespace {

std::vector<std::string> CabCells(LONG cabNum, LONG userCab, const std::string& name) {
  return rt::Columns(cabNum, userCab, name);
}

}  // namespace

rt::WindowDef MainWindowDef(LONG& LOC_MIDIPacketCount) {
  using rt::Kind;
  rt::WindowDef def{
      .label = "P1$WINDOW",
      .caption = "Boxwright 1.01",
      .font = {.name = "Tahoma", .size = 8},
      .icon = "boxwright.ico",
      .wallpaper = "tweed.png",
      .at = {0, 0, 348, 239},
      .timer = 100,
      .centered = true,
      .resizable = true,
  };
  def.controls = {
      {.feq = 1, .equate = "MIDIDEVICEGROUP", .kind = Kind::Group, .text = "MIDI Devices", .at = {4, 2, 340, 30}},
      {.feq = 2, .equate = "MINIINPROMPT", .kind = Kind::Prompt, .text = "MIDI In:", .at = {10, 15, 28, 10}},
      {.feq = 3, .equate = "INDEVICELIST", .kind = Kind::List, .at = {40, 13, 112, 12},
       .from = rt::From(InDeviceQ, [](const DEVICE_QUEUE_ROW& r) { return rt::Columns(r.DeviceName); }),
       .drop = true},
      {.feq = 4, .equate = "MIDIOUTPROMPT", .kind = Kind::Prompt, .text = "MIDI Out:", .at = {158, 15, 32, 10}},
      {.feq = 5, .equate = "OUTDEVICELIST", .kind = Kind::List, .at = {192, 13, 100, 12},
       .from = rt::From(OutDeviceQ, [](const DEVICE_QUEUE_ROW& r) { return rt::Columns(r.DeviceName); }),
       .drop = true},
      {.feq = 6, .equate = "CONNECTBUTTON", .kind = Kind::Button, .text = "Connect", .at = {296, 12, 44, 14}},
      {.feq = 7, .equate = "CAB:NUMBER", .kind = Kind::Option, .text = "Cabinet", .at = {4, 36, 76, 30},
       .use = CAB::Number},
      {.feq = 8, .equate = "CAB:NUMBER:RADIO1", .kind = Kind::Radio, .text = "Cab 1", .at = {9, 49, 32, 10}, .parent = 7,
       .value = "0"},
      {.feq = 9, .equate = "CAB:NUMBER:RADIO2", .kind = Kind::Radio, .text = "Cab 2", .at = {43, 49, 32, 10}, .parent = 7,
       .value = "1"},
      {.feq = 10, .equate = "CAB:SWITCH", .kind = Kind::Option, .text = "X/Y", .at = {84, 36, 50, 30},
       .use = CAB::Switch},
      {.feq = 11, .equate = "CAB:SWITCH:RADIO1", .kind = Kind::Radio, .text = "X", .at = {90, 49, 20, 10}, .parent = 10,
       .value = "0"},
      {.feq = 12, .equate = "CAB:SWITCH:RADIO2", .kind = Kind::Radio, .text = "Y", .at = {112, 49, 20, 10}, .parent = 10,
       .value = "1"},
      {.feq = 13, .equate = "CAB:SIDE", .kind = Kind::Option, .text = "Left/Right", .at = {138, 36, 76, 30},
       .use = CAB::Side},
      {.feq = 14, .equate = "CAB:SIDE:RADIO1", .kind = Kind::Radio, .text = "Left", .at = {144, 49, 30, 10}, .parent = 13,
       .value = "0"},
      {.feq = 15, .equate = "CAB:SIDE:RADIO2", .kind = Kind::Radio, .text = "Right", .at = {176, 49, 34, 10},
       .parent = 13, .value = "1"},
      {.feq = 16, .equate = "OFFSETGROUP", .kind = Kind::Group, .text = "User Cab Offset", .at = {218, 36, 62, 30}},
      {.feq = 17, .equate = "GLO:USERCABOFFSET", .kind = Kind::Spin, .at = {226, 49, 40, 12},
       .use = GLO::UserCabOffset, .picture = "@n3", .chars = 3, .low = 0, .high = 999},
      {.feq = 18, .equate = "REFRESHBUTTON", .kind = Kind::Button, .text = "Refresh", .at = {284, 40, 56, 22},
       .icon = "refresh.ico"},
      {.feq = 19, .equate = "SHEET1", .kind = Kind::Sheet, .at = {4, 70, 340, 146}, .dropId = "~FILE"},
      {.feq = 20, .equate = "ALLCABSTAB", .kind = Kind::Tab, .text = " All Cabs ", .parent = 19},
      {.feq = 21, .equate = "ALLCABLIST", .kind = Kind::List, .at = {10, 86, 328, 124},
       .from = rt::From(CAB_QUEUE, [](const CAB_QUEUE_ROW& r) { return CabCells(r.CabNum, r.UserCab, r.Name); }),
       .format = kAllCabListFormat, .parent = 20, .alerts = {KEY::MouseRight}},
      {.feq = 22, .equate = "FAVECABSTAB", .kind = Kind::Tab, .text = " Favourite Cabs ", .parent = 19},
      {.feq = 23, .equate = "FAVCABLIST", .kind = Kind::List, .at = {10, 86, 328, 124},
       .from = rt::From(FAV_QUEUE, [](const FAV_QUEUE_ROW& r) { return CabCells(r.CabNum, r.UserCab, r.Name); }),
       .format = kFavCabListFormat, .parent = 22, .alerts = {KEY::MouseRight}},
      {.feq = 24, .equate = "GLO:SAFETYMODE", .kind = Kind::Check, .text = "  Safety Mode On", .at = {6, 222, 76, 12},
       .use = GLO::SafetyMode, .value = "1", .offValue = "0"},
      {.feq = 25, .equate = "LOC:MIDIPACKETCOUNT", .kind = Kind::String, .at = {228, 223, 52, 10},
       .use = LOC_MIDIPacketCount, .picture = "@n8"},
      {.feq = 26, .equate = "CLOSEBUTTON", .kind = Kind::Button, .text = "Close", .at = {288, 219, 56, 16},
       .icon = "close.ico"},
      {.feq = 27, .equate = "ABOUTBUTTON", .kind = Kind::Button, .text = "About", .at = {88, 219, 56, 16},
       .icon = "about.ico"},
  };
  return def;
}
