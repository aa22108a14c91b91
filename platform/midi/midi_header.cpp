#include "platform/midi/midi_header.h"

namespace midi {
namespace {

// MMSYSERR_INVALPARAM for a missing record, a size other than ours or an empty buffer.
MMRESULT CheckHeader(const MIDIHDR* header, UINT size) {
  if (header == nullptr || size != sizeof(MIDIHDR)) return MMSYSERR_INVALPARAM;
  if (header->lpData == nullptr || header->dwBufferLength == 0) return MMSYSERR_INVALPARAM;
  return MMSYSERR_NOERROR;
}

}  // namespace

MMRESULT PrepareHeader(MIDIHDR* header, UINT size) {
  if (MMRESULT error = CheckHeader(header, size)) return error;
  header->dwFlags |= MHDR_PREPARED;
  return MMSYSERR_NOERROR;
}

MMRESULT UnprepareHeader(MIDIHDR* header, UINT size) {
  if (header == nullptr || size != sizeof(MIDIHDR)) return MMSYSERR_INVALPARAM;
  if (header->dwFlags & MHDR_INQUEUE) return MIDIERR_STILLPLAYING;
  header->dwFlags &= ~MHDR_PREPARED;
  return MMSYSERR_NOERROR;
}

MMRESULT CheckQueueable(const MIDIHDR* header, UINT size) {
  if (MMRESULT error = CheckHeader(header, size)) return error;
  if (!(header->dwFlags & MHDR_PREPARED)) return MIDIERR_UNPREPARED;
  if (header->dwFlags & MHDR_INQUEUE) return MIDIERR_STILLPLAYING;
  return MMSYSERR_NOERROR;
}

}  // namespace midi
