#pragma once
// MIDI output devices. Messages are written on a back-end thread; MM_MOM_DONE is posted
// to the callback window when a message has left for the device.
#include "platform/midi/mmsystem.h"

UINT midiOutGetNumDevs();
MMRESULT midiOutGetDevCapsA(UINT_PTR deviceId, MIDIOUTCAPSA* caps, UINT size);

// flags: CALLBACK_WINDOW or CALLBACK_NULL. Posts MM_MOM_OPEN.
MMRESULT midiOutOpen(HMIDIOUT* handle, UINT deviceId, DWORD_PTR callback, DWORD_PTR instance, DWORD flags);
// Waits until every message already handed over has been written, then posts MM_MOM_CLOSE.
MMRESULT midiOutClose(HMIDIOUT handle);

MMRESULT midiOutPrepareHeader(HMIDIOUT handle, MIDIHDR* header, UINT size);
MMRESULT midiOutUnprepareHeader(HMIDIOUT handle, MIDIHDR* header, UINT size);
// Takes a copy of the bytes: the header is done (MHDR_DONE) when the call returns and may
// be reused or unprepared at once. MM_MOM_DONE follows once the bytes are written.
MMRESULT midiOutLongMsg(HMIDIOUT handle, MIDIHDR* header, UINT size);
