#pragma once
// The librarian's process-wide state: the settings it keeps, the connection, the radios of
// the main window, and its five queues. Everything is touched on the main thread only.
#include <string>

#include "platform/midi/mmsystem.h"
#include "platform/rt/queue.h"
#include "platform/win/types.h"

namespace GLO {
// Kept in "settings.ini" (section "Preserved").
extern BYTE MIDIInDevice;   // 1-based row of the chosen input device; 0 none
extern BYTE MIDIOutDevice;  // 1-based row of the chosen output device; 0 none
extern BYTE SafetyMode;     // 1: ask before an upload overwrites a slot
extern LONG UserCabOffset;  // cab number of the first user cab; 0: not known yet (user_cab.h)

extern std::string FileName;  // last favourites file chosen
extern std::string CabName;   // name typed in the rename window
extern LONG CabToSend;        // 0-based cab or user-slot index of the next select or rename
extern BYTE RefreshFlag;      // set by Refresh, taken by the next timer tick
extern BYTE MIDIConnected;    // both sides open
extern BYTE MIDIInConnected;
extern BYTE MIDIOutConnected;
}  // namespace GLO

// The main window's radios: block (0 Cab 1, 1 Cab 2), X/Y (0 X, 1 Y), side (0 left, 1 right).
namespace CAB {
extern BYTE Number;
extern BYTE Switch;
extern BYTE Side;
}  // namespace CAB

// The open devices and the one input buffer that every system-exclusive message arrives in.
namespace midilink {
inline constexpr DWORD kInputBufferSize = 16384;
extern ::HMIDIIN HMIDIIN;    // nullptr: closed
extern ::HMIDIOUT HMIDIOUT;  // nullptr: closed
extern MIDIHDR MIDIHdr;
extern MIDIINCAPSA MIDIInCaps;
extern MIDIOUTCAPSA MIDIOutCaps;
extern char MIDIString[kInputBufferSize];
}  // namespace midilink

// Every cab the unit reported, ascending by cab number.
struct CAB_QUEUE_ROW {
  LONG CabNum = 0;      // 1-based cab number (device index + 1)
  LONG UserCab = 0;     // 1-based user slot; 0 for a factory cab
  std::string Name;     // at most 31 characters
  BYTE NumLSB = 0;      // the cab index as received, low 7 bits
  BYTE NumMSB = 0;      // and high 7 bits
  std::string RawData;  // the received message as hexadecimal text (kept, never read)
};

// The favourites, ascending by cab number.
struct FAV_QUEUE_ROW {
  LONG CabNum = 0;
  LONG UserCab = 0;
  std::string Name;
};

// Received system-exclusive messages, oldest first.
struct RETURN_QUEUE_ROW {
  LONG DataLen = 0;     // bytes the driver recorded
  std::string RawData;  // those bytes
};

struct DEVICE_QUEUE_ROW {
  std::string DeviceName;  // row n is the device with id n - 1
};

extern rt::Queue<CAB_QUEUE_ROW> CAB_QUEUE;
extern rt::Queue<FAV_QUEUE_ROW> FAV_QUEUE;
extern rt::Queue<RETURN_QUEUE_ROW> RETURN_QUEUE;
extern rt::Queue<DEVICE_QUEUE_ROW> InDeviceQ;
extern rt::Queue<DEVICE_QUEUE_ROW> OutDeviceQ;

// The state at module start-up: every variable zero or empty, every queue empty (the input
// buffer is left as it is).
void ResetLibrarianState();
