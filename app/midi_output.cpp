#include "app/midi_output.h"

#include <string>

#include "app/globals.h"
#include "platform/midi/midi_out.h"

void SendToMidiOutput(std::string_view message) {
  if (message.empty()) return;
  // The output layer copies the bytes when it takes the message, so the header and its
  // buffer are done with as soon as the call returns.
  std::string bytes(message);
  MIDIHDR header{};
  header.lpData = bytes.data();
  header.dwBufferLength = static_cast<DWORD>(bytes.size());
  header.dwBytesRecorded = header.dwBufferLength;
  header.dwFlags = 0;
  midiOutPrepareHeader(midilink::HMIDIOUT, &header, sizeof header);
  midiOutLongMsg(midilink::HMIDIOUT, &header, sizeof header);
  midiOutUnprepareHeader(midilink::HMIDIOUT, &header, sizeof header);
}
