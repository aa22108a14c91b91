#include "platform/midi/midi_out.h"

#include "platform/midi/device_calls.h"
#include "platform/midi/midi_header.h"
#include "platform/midi/stream_parser.h"

using midi::OutputConnection;
using midi::OutputConnections;

UINT midiOutGetNumDevs() {
  midi::RescanDevices();
  return midi::OutputDeviceCount();
}

MMRESULT midiOutGetDevCapsA(UINT_PTR deviceId, MIDIOUTCAPSA* caps, UINT size) {
  return midi::FillDevCaps(midi::FindOutputDevice, deviceId, caps, size,
                           MIDIOUTCAPSA{MM_UNMAPPED, MM_PID_UNMAPPED, 0x0100, {}, MOD_MIDIPORT, 0, 0, 0xFFFF, 0});
}

MMRESULT midiOutOpen(HMIDIOUT* handle, UINT deviceId, DWORD_PTR callback, DWORD_PTR, DWORD flags) {
  return midi::OpenDevice(OutputConnections(), midi::FindOutputDevice, handle, deviceId, callback, flags, 0,
                          [](HMIDIOUT h, std::unique_ptr<midi::OutputPort> port, HWND window) {
                            return std::make_shared<OutputConnection>(h, std::move(port), window);
                          });
}

MMRESULT midiOutClose(HMIDIOUT handle) {
  return OutputConnections().With(handle, [handle](OutputConnection& connection) {
    OutputConnections().Remove(handle);
    connection.Close();
  });
}

MMRESULT midiOutPrepareHeader(HMIDIOUT handle, MIDIHDR* header, UINT size) {
  return OutputConnections().With(handle, [&](OutputConnection&) { return midi::PrepareHeader(header, size); });
}

MMRESULT midiOutUnprepareHeader(HMIDIOUT handle, MIDIHDR* header, UINT size) {
  return OutputConnections().With(handle, [&](OutputConnection&) { return midi::UnprepareHeader(header, size); });
}

MMRESULT midiOutLongMsg(HMIDIOUT handle, MIDIHDR* header, UINT size) {
  return OutputConnections().With(handle, [&](OutputConnection& connection) {
    if (MMRESULT error = midi::CheckQueueable(header, size)) return error;
    const BYTE* data = reinterpret_cast<const BYTE*>(header->lpData);
    MMRESULT result = connection.Send(std::vector<BYTE>(data, data + header->dwBufferLength), header);
    if (result == MMSYSERR_NOERROR) header->dwFlags = (header->dwFlags & ~MHDR_INQUEUE) | MHDR_DONE;
    return result;
  });
}
