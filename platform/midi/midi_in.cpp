#include "platform/midi/midi_in.h"

#include <cstring>

#include "platform/midi/backend.h"
#include "platform/midi/connections.h"
#include "platform/midi/device_caps.h"
#include "platform/midi/midi_header.h"
#include "platform/midi/open_flags.h"

using midi::InputConnections;

UINT midiInGetNumDevs() {
  midi::RescanDevices();
  return midi::InputDeviceCount();
}

MMRESULT midiInGetDevCapsA(UINT_PTR deviceId, MIDIINCAPSA* caps, UINT size) {
  if (caps == nullptr) return MMSYSERR_INVALPARAM;
  if (deviceId > UINT32_MAX) return MMSYSERR_BADDEVICEID;
  auto device = midi::FindInputDevice(static_cast<UINT>(deviceId));
  if (!device) return MMSYSERR_BADDEVICEID;
  MIDIINCAPSA full{MM_UNMAPPED, MM_PID_UNMAPPED, 0x0100, {}, 0};
  midi::CopyProductName(full.szPname, device->name);
  std::memcpy(caps, &full, std::min<size_t>(size, sizeof full));
  return MMSYSERR_NOERROR;
}

MMRESULT midiInOpen(HMIDIIN* handle, UINT deviceId, DWORD_PTR callback, DWORD_PTR, DWORD flags) {
  if (handle == nullptr) return MMSYSERR_INVALPARAM;
  *handle = nullptr;
  HWND window = nullptr;
  if (MMRESULT error = midi::NotificationWindow(callback, flags, MIDI_IO_STATUS, window)) return error;
  auto device = midi::FindInputDevice(deviceId);
  if (!device) return MMSYSERR_BADDEVICEID;
  auto opened = device->open();
  if (!opened.port) return opened.error ? opened.error : MMSYSERR_ERROR;
  HMIDIIN h = InputConnections().NewHandle();
  auto connection = std::make_shared<midi::InputConnection>(h, std::move(opened.port), window, flags);
  InputConnections().Insert(h, connection);
  connection->Begin();
  *handle = h;
  return MMSYSERR_NOERROR;
}

MMRESULT midiInClose(HMIDIIN handle) {
  auto connection = InputConnections().Find(handle);
  if (!connection) return MMSYSERR_INVALHANDLE;
  if (MMRESULT error = connection->Close()) return error;
  InputConnections().Remove(handle);
  return MMSYSERR_NOERROR;
}

MMRESULT midiInPrepareHeader(HMIDIIN handle, MIDIHDR* header, UINT size) {
  if (!InputConnections().Find(handle)) return MMSYSERR_INVALHANDLE;
  return midi::PrepareHeader(header, size);
}

MMRESULT midiInUnprepareHeader(HMIDIIN handle, MIDIHDR* header, UINT size) {
  if (!InputConnections().Find(handle)) return MMSYSERR_INVALHANDLE;
  return midi::UnprepareHeader(header, size);
}

MMRESULT midiInAddBuffer(HMIDIIN handle, MIDIHDR* header, UINT size) {
  auto connection = InputConnections().Find(handle);
  if (!connection) return MMSYSERR_INVALHANDLE;
  if (MMRESULT error = midi::CheckQueueable(header, size)) return error;
  return connection->AddBuffer(header);
}

MMRESULT midiInStart(HMIDIIN handle) {
  auto connection = InputConnections().Find(handle);
  if (!connection) return MMSYSERR_INVALHANDLE;
  connection->Start();
  return MMSYSERR_NOERROR;
}

MMRESULT midiInStop(HMIDIIN handle) {
  auto connection = InputConnections().Find(handle);
  if (!connection) return MMSYSERR_INVALHANDLE;
  connection->Stop();
  return MMSYSERR_NOERROR;
}

MMRESULT midiInReset(HMIDIIN handle) {
  auto connection = InputConnections().Find(handle);
  if (!connection) return MMSYSERR_INVALHANDLE;
  connection->Reset();
  return MMSYSERR_NOERROR;
}
