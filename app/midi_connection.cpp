#include "app/midi_connection.h"

#include <algorithm>

#include "app/globals.h"
#include "platform/midi/midi_in.h"
#include "platform/midi/midi_out.h"
#include "toolkit/debug_output.h"

namespace {

// Lists `count` devices, in id order, by the product names their capability records give.
template <typename Caps>
void ListDevices(rt::Queue<DEVICE_QUEUE_ROW>& queue, UINT count, Caps& caps,
                 MMRESULT (*getCaps)(UINT_PTR, Caps*, UINT)) {
  queue.Free();
  for (UINT id = 0; id < count; ++id) {
    caps = Caps{};
    getCaps(id, &caps, sizeof caps);
    queue->DeviceName.assign(caps.szPname, std::find(caps.szPname, caps.szPname + MAXPNAMELEN, '\0'));
    queue.Add();
  }
}

void QueueInputBuffer() {
  midilink::MIDIHdr.dwFlags = 0;
  midiInPrepareHeader(midilink::HMIDIIN, &midilink::MIDIHdr, sizeof midilink::MIDIHdr);
  midiInAddBuffer(midilink::HMIDIIN, &midilink::MIDIHdr, sizeof midilink::MIDIHdr);
}

// The one input buffer, once the driver has handed it back (MM_MIM_LONGDATA): its bytes
// become a row of RETURN_QUEUE and the buffer goes back to the driver. The buffer's own
// flags decide, not the message number the event reads: events of the main window wait
// while a modal window is open, and then each reads the latest alerted message, so one
// MM_MIM_LONGDATA may be reported twice or not at all. Taking a buffer the driver still
// holds would hand it over twice and mix two messages; missing one would stop all input.
void TakeReturnedInputBuffer() {
  const DWORD flags = midilink::MIDIHdr.dwFlags;
  if ((flags & MHDR_DONE) == 0 || (flags & MHDR_INQUEUE) != 0) return;
  midiInUnprepareHeader(midilink::HMIDIIN, &midilink::MIDIHdr, sizeof midilink::MIDIHdr);
  const DWORD recorded = std::min(midilink::MIDIHdr.dwBytesRecorded, midilink::kInputBufferSize);
  RETURN_QUEUE->DataLen = static_cast<LONG>(recorded);
  RETURN_QUEUE->RawData.assign(midilink::MIDIString, recorded);
  RETURN_QUEUE.Add();
  midilink::MIDIHdr.dwFlags = 0;
  // Once the input is closed there is no driver to hand it back to.
  if (midilink::HMIDIIN != nullptr) QueueInputBuffer();
}

void NoteConnected() {
  if (GLO::MIDIInConnected && GLO::MIDIOutConnected) GLO::MIDIConnected = 1;
}

}  // namespace

void FillDeviceLists() {
  ListDevices(InDeviceQ, midiInGetNumDevs(), midilink::MIDIInCaps, midiInGetDevCapsA);
  ListDevices(OutDeviceQ, midiOutGetNumDevs(), midilink::MIDIOutCaps, midiOutGetDevCapsA);
}

void ConnectMidi(HWND window, int inputRow, int outputRow) {
  const auto callback = reinterpret_cast<DWORD_PTR>(window);
  if (midilink::HMIDIIN == nullptr) {
    midiInOpen(&midilink::HMIDIIN, static_cast<UINT>(inputRow - 1), callback, 1, CALLBACK_WINDOW | MIDI_IO_STATUS);
    midilink::MIDIHdr = MIDIHDR{};
    midilink::MIDIHdr.lpData = midilink::MIDIString;
    midilink::MIDIHdr.dwBufferLength = midilink::kInputBufferSize;
    QueueInputBuffer();
    midiInStart(midilink::HMIDIIN);
  }
  if (midilink::HMIDIOUT == nullptr) {
    midiOutOpen(&midilink::HMIDIOUT, static_cast<UINT>(outputRow - 1), callback, 0, CALLBACK_WINDOW);
  }
}

void DisconnectMidi() {
  // The input buffer is queued with the driver; it must be handed back before the header
  // can be unprepared and the device closed.
  midiInReset(midilink::HMIDIIN);
  midiInUnprepareHeader(midilink::HMIDIIN, &midilink::MIDIHdr, sizeof midilink::MIDIHdr);
  midiInClose(midilink::HMIDIIN);
  midilink::HMIDIIN = nullptr;
  midiOutClose(midilink::HMIDIOUT);
  midilink::HMIDIOUT = nullptr;
}

bool HandleMidiNotification(UINT message, LONG& LOC_MIDIPacketCount) {
  // Whatever message this event reports, a buffer the driver has handed back is taken now;
  // see TakeReturnedInputBuffer.
  TakeReturnedInputBuffer();
  switch (message) {
    case MM_MOM_OPEN:
      GLO::MIDIOutConnected = 1;
      NoteConnected();
      return false;
    case MM_MIM_OPEN:
      GLO::MIDIInConnected = 1;
      NoteConnected();
      return false;
    case MM_MOM_CLOSE:
      GLO::MIDIOutConnected = 0;
      GLO::MIDIConnected = 0;
      return false;
    case MM_MIM_CLOSE:
      GLO::MIDIInConnected = 0;
      GLO::MIDIConnected = 0;
      return false;
    case MM_MIM_DATA:
      ++LOC_MIDIPacketCount;
      return true;
    case MM_MIM_ERROR:
      kx_OutputDebugString("[Boxwright] General Error Receiving MIDI Data", 1);
      return false;
    case MM_MIM_LONGERROR:
      kx_OutputDebugString("[Boxwright] General Error Receiving SYSEX Packet", 1);
      return false;
    default:  // MM_MIM_LONGDATA (taken above), MM_MOM_DONE, MM_MIM_MOREDATA
      return false;
  }
}

const char* ConnectButtonText() { return GLO::MIDIConnected ? "Disconnect" : "Connect"; }
