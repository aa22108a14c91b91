#include "platform/midi/midi_in.h"

#include "platform/midi/device_calls.h"
#include "platform/midi/midi_header.h"

using midi::InputConnection;
using midi::InputConnections;

UINT midiInGetNumDevs() {
  midi::RescanDevices();
  return midi::InputDeviceCount();
}

MMRESULT midiInGetDevCapsA(UINT_PTR deviceId, MIDIINCAPSA* caps, UINT size) {
  return midi::FillDevCaps(midi::FindInputDevice, deviceId, caps, size,
                           MIDIINCAPSA{MM_UNMAPPED, MM_PID_UNMAPPED, 0x0100, {}, 0});
}

MMRESULT midiInOpen(HMIDIIN* handle, UINT deviceId, DWORD_PTR callback, DWORD_PTR, DWORD flags) {
  return midi::OpenDevice(InputConnections(), midi::FindInputDevice, handle, deviceId, callback, flags, MIDI_IO_STATUS,
                          [flags](HMIDIIN h, std::unique_ptr<midi::InputPort> port, HWND window) {
                            return std::make_shared<InputConnection>(h, std::move(port), window, flags);
                          });
}

MMRESULT midiInClose(HMIDIIN handle) {
  return InputConnections().With(handle, [handle](InputConnection& connection) {
    MMRESULT error = connection.Close();
    if (error == MMSYSERR_NOERROR) InputConnections().Remove(handle);
    return error;
  });
}

MMRESULT midiInPrepareHeader(HMIDIIN handle, MIDIHDR* header, UINT size) {
  return InputConnections().With(handle, [&](InputConnection&) { return midi::PrepareHeader(header, size); });
}

MMRESULT midiInUnprepareHeader(HMIDIIN handle, MIDIHDR* header, UINT size) {
  return InputConnections().With(handle, [&](InputConnection&) { return midi::UnprepareHeader(header, size); });
}

MMRESULT midiInAddBuffer(HMIDIIN handle, MIDIHDR* header, UINT size) {
  return InputConnections().With(handle, [&](InputConnection& connection) {
    MMRESULT error = midi::CheckQueueable(header, size);
    return error ? error : connection.AddBuffer(header);
  });
}

MMRESULT midiInStart(HMIDIIN handle) {
  return InputConnections().With(handle, [](InputConnection& connection) { connection.Start(); });
}

MMRESULT midiInReset(HMIDIIN handle) {
  return InputConnections().With(handle, [](InputConnection& connection) { connection.Reset(); });
}
