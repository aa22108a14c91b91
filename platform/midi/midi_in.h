#pragma once
// MIDI input devices. Input is read on a back-end thread; it reaches the program only as
// notifications posted to the callback window given to midiInOpen.
#include "platform/midi/mmsystem.h"

// Number of input devices; each call looks for devices again, and ids 0..n-1 then name
// them until the next call.
UINT midiInGetNumDevs();
// Copies up to `size` bytes of the capability record; szPname holds at most 31 characters.
MMRESULT midiInGetDevCapsA(UINT_PTR deviceId, MIDIINCAPSA* caps, UINT size);

// flags: CALLBACK_WINDOW (callback is an HWND) or CALLBACK_NULL, optionally MIDI_IO_STATUS
// (a short message that has more input queued behind it comes as MM_MIM_MOREDATA).
// Posts MM_MIM_OPEN. An unknown id (there is no mapper: -1 is unknown) fails, posts nothing.
MMRESULT midiInOpen(HMIDIIN* handle, UINT deviceId, DWORD_PTR callback, DWORD_PTR instance, DWORD flags);
// Fails with MIDIERR_STILLPLAYING while buffers are queued (midiInReset returns them).
// Posts MM_MIM_CLOSE after everything else of the handle.
MMRESULT midiInClose(HMIDIIN handle);

MMRESULT midiInPrepareHeader(HMIDIIN handle, MIDIHDR* header, UINT size);
MMRESULT midiInUnprepareHeader(HMIDIIN handle, MIDIHDR* header, UINT size);
// Queues a prepared buffer for system-exclusive input. A buffer is returned with
// MM_MIM_LONGDATA when a message ends in it or it is full; the rest of a longer message
// goes into the next queued buffer. Input waits (nothing is lost) while no buffer is queued.
MMRESULT midiInAddBuffer(HMIDIIN handle, MIDIHDR* header, UINT size);

// Input before midiInStart, or after midiInReset, is dropped.
MMRESULT midiInStart(HMIDIIN handle);
// Stops and returns every queued buffer (MM_MIM_LONGDATA each).
MMRESULT midiInReset(HMIDIIN handle);
