#include "app/globals.h"

namespace GLO {
BYTE MIDIInDevice = 0;
BYTE MIDIOutDevice = 0;
BYTE SafetyMode = 0;
LONG UserCabOffset = 0;
std::string FileName;
std::string CabName;
LONG CabToSend = 0;
BYTE RefreshFlag = 0;
BYTE MIDIConnected = 0;
BYTE MIDIInConnected = 0;
BYTE MIDIOutConnected = 0;
}  // namespace GLO

namespace CAB {
BYTE Number = 0;
BYTE Switch = 0;
BYTE Side = 0;
}  // namespace CAB

namespace midilink {
::HMIDIIN HMIDIIN = nullptr;
::HMIDIOUT HMIDIOUT = nullptr;
MIDIHDR MIDIHdr{};
MIDIINCAPSA MIDIInCaps{};
MIDIOUTCAPSA MIDIOutCaps{};
char MIDIString[kInputBufferSize] = {};
}  // namespace midilink

rt::Queue<CAB_QUEUE_ROW> CAB_QUEUE;
rt::Queue<FAV_QUEUE_ROW> FAV_QUEUE;
rt::Queue<RETURN_QUEUE_ROW> RETURN_QUEUE;
rt::Queue<DEVICE_QUEUE_ROW> InDeviceQ;
rt::Queue<DEVICE_QUEUE_ROW> OutDeviceQ;

void ResetLibrarianState() {
  GLO::MIDIInDevice = GLO::MIDIOutDevice = GLO::SafetyMode = 0;
  GLO::UserCabOffset = GLO::CabToSend = 0;
  GLO::CabName.clear();
  GLO::RefreshFlag = GLO::MIDIConnected = GLO::MIDIInConnected = GLO::MIDIOutConnected = 0;
  CAB::Number = CAB::Switch = CAB::Side = 0;
  midilink::HMIDIIN = nullptr;
  midilink::HMIDIOUT = nullptr;
  midilink::MIDIHdr = MIDIHDR{};
  auto empty = [](auto&... queues) { ((queues.Free(), queues.Clear()), ...); };
  empty(InDeviceQ, OutDeviceQ, CAB_QUEUE, FAV_QUEUE, RETURN_QUEUE);
  GLO::FileName.clear();
}
