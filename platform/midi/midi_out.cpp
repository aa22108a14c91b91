#include "platform/midi/midi_out.h"

#include <cstring>

#include "platform/midi/backend.h"
#include "platform/midi/connections.h"
#include "platform/midi/device_caps.h"
#include "platform/midi/midi_header.h"
#include "platform/midi/open_flags.h"
#include "platform/midi/stream_parser.h"

using midi::OutputConnections;

UINT midiOutGetNumDevs() {
  midi::RescanDevices();
  return midi::OutputDeviceCount();
}

MMRESULT midiOutGetDevCapsA(UINT_PTR deviceId, MIDIOUTCAPSA* caps, UINT size) {
  if (caps == nullptr) return MMSYSERR_INVALPARAM;
  if (deviceId > UINT32_MAX) return MMSYSERR_BADDEVICEID;
  auto device = midi::FindOutputDevice(static_cast<UINT>(deviceId));
  if (!device) return MMSYSERR_BADDEVICEID;
  MIDIOUTCAPSA full{MM_UNMAPPED, MM_PID_UNMAPPED, 0x0100, {}, MOD_MIDIPORT, 0, 0, 0xFFFF, 0};
  midi::CopyProductName(full.szPname, device->name);
  std::memcpy(caps, &full, std::min<size_t>(size, sizeof full));
  return MMSYSERR_NOERROR;
}

MMRESULT midiOutOpen(HMIDIOUT* handle, UINT deviceId, DWORD_PTR callback, DWORD_PTR, DWORD flags) {
  if (handle == nullptr) return MMSYSERR_INVALPARAM;
  *handle = nullptr;
  HWND window = nullptr;
  if (MMRESULT error = midi::NotificationWindow(callback, flags, 0, window)) return error;
  auto device = midi::FindOutputDevice(deviceId);
  if (!device) return MMSYSERR_BADDEVICEID;
  auto opened = device->open();
  if (!opened.port) return opened.error ? opened.error : MMSYSERR_ERROR;
  HMIDIOUT h = OutputConnections().NewHandle();
  auto connection = std::make_shared<midi::OutputConnection>(h, std::move(opened.port), window);
  OutputConnections().Insert(h, connection);
  connection->Begin();
  *handle = h;
  return MMSYSERR_NOERROR;
}

MMRESULT midiOutClose(HMIDIOUT handle) {
  auto connection = OutputConnections().Find(handle);
  if (!connection) return MMSYSERR_INVALHANDLE;
  OutputConnections().Remove(handle);
  connection->Close();
  return MMSYSERR_NOERROR;
}

MMRESULT midiOutPrepareHeader(HMIDIOUT handle, MIDIHDR* header, UINT size) {
  if (!OutputConnections().Find(handle)) return MMSYSERR_INVALHANDLE;
  return midi::PrepareHeader(header, size);
}

MMRESULT midiOutUnprepareHeader(HMIDIOUT handle, MIDIHDR* header, UINT size) {
  if (!OutputConnections().Find(handle)) return MMSYSERR_INVALHANDLE;
  return midi::UnprepareHeader(header, size);
}

MMRESULT midiOutLongMsg(HMIDIOUT handle, MIDIHDR* header, UINT size) {
  auto connection = OutputConnections().Find(handle);
  if (!connection) return MMSYSERR_INVALHANDLE;
  if (MMRESULT error = midi::CheckQueueable(header, size)) return error;
  const BYTE* data = reinterpret_cast<const BYTE*>(header->lpData);
  MMRESULT result = connection->Send(std::vector<BYTE>(data, data + header->dwBufferLength), header);
  if (result == MMSYSERR_NOERROR) header->dwFlags = (header->dwFlags & ~MHDR_INQUEUE) | MHDR_DONE;
  return result;
}

MMRESULT midiOutShortMsg(HMIDIOUT handle, DWORD message) {
  auto connection = OutputConnections().Find(handle);
  if (!connection) return MMSYSERR_INVALHANDLE;
  BYTE status = static_cast<BYTE>(message);
  if (status < 0x80 || status == 0xF0 || status == 0xF7) return MMSYSERR_INVALPARAM;
  std::vector<BYTE> bytes{status};
  for (int i = 1; i <= midi::DataBytesAfter(status); ++i) bytes.push_back(static_cast<BYTE>(message >> (8 * i)) & 0x7F);
  return connection->Send(std::move(bytes), nullptr);
}
