#pragma once
// The main window as a static definition (resource "P1$WINDOW"), with its field equates.
#include "platform/rt/window_def.h"
#include "platform/win/types.h"

// Field equates of the main window, in field order.
namespace ctl {
inline constexpr int MIDIDEVICEGROUP = 1;
inline constexpr int MINIINPROMPT = 2;
inline constexpr int INDEVICELIST = 3;
inline constexpr int MIDIOUTPROMPT = 4;
inline constexpr int OUTDEVICELIST = 5;
inline constexpr int CONNECTBUTTON = 6;
namespace CAB {
inline constexpr int NUMBER = 7;
inline constexpr int NUMBER_RADIO1 = 8;   // "Cab 1"
inline constexpr int NUMBER_RADIO2 = 9;   // "Cab 2"
inline constexpr int SWITCH = 10;
inline constexpr int SWITCH_RADIO1 = 11;  // "X"
inline constexpr int SWITCH_RADIO2 = 12;  // "Y"
inline constexpr int SIDE = 13;
inline constexpr int SIDE_RADIO1 = 14;    // "Left"
inline constexpr int SIDE_RADIO2 = 15;    // "Right"
}  // namespace CAB
inline constexpr int OFFSETGROUP = 16;
namespace GLO {
inline constexpr int USERCABOFFSET = 17;
inline constexpr int SAFETYMODE = 24;
}  // namespace GLO
inline constexpr int REFRESHBUTTON = 18;
inline constexpr int SHEET1 = 19;
inline constexpr int ALLCABSTAB = 20;
inline constexpr int ALLCABLIST = 21;
inline constexpr int FAVECABSTAB = 22;
inline constexpr int FAVCABLIST = 23;
namespace LOC {
inline constexpr int MIDIPACKETCOUNT = 25;
}  // namespace LOC
inline constexpr int CLOSEBUTTON = 26;
inline constexpr int ABOUTBUTTON = 27;
}  // namespace ctl

inline constexpr const char* kAllCabListFormat =
    "32R(2)|M~Cab No.~@n_3@32R(2)|M~User Cab~@N_3B@252L(2)|M~Name~@s63@";
inline constexpr const char* kFavCabListFormat =
    "32R(2)|M~Cab No.~@n_3@32R(2)|M~User Cab~@n_3B@124L(2)|M~Name~@s31@";

// The definition for one run of the window; the packet count is a local of that run.
rt::WindowDef MainWindowDef(LONG& LOC_MIDIPacketCount);
