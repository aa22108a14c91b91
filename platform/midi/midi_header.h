#pragma once
// Checks and flag changes on MIDIHDR records shared by input and output.
#include "platform/midi/mmsystem.h"

namespace midi {
// MMSYSERR_INVALPARAM for a missing record, a size other than ours or an empty buffer.
MMRESULT PrepareHeader(MIDIHDR* header, UINT size);
// MIDIERR_STILLPLAYING while the buffer is queued; an unprepared header is no error.
MMRESULT UnprepareHeader(MIDIHDR* header, UINT size);
// What a header must be before it is queued: prepared and not queued already.
MMRESULT CheckQueueable(const MIDIHDR* header, UINT size);
}  // namespace midi
