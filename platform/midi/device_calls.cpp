#include "platform/midi/device_calls.h"

#include "platform/win/windows/window.h"

namespace midi {

void CopyProductName(char (&target)[MAXPNAMELEN], std::string_view name) {
  std::memset(target, 0, MAXPNAMELEN);
  std::memcpy(target, name.data(), std::min<size_t>(name.size(), MAXPNAMELEN - 1));
}

MMRESULT NotificationWindow(DWORD_PTR callback, DWORD flags, DWORD allowedExtra, HWND& window) {
  window = nullptr;
  DWORD type = flags & CALLBACK_TYPEMASK;
  if ((flags & ~(CALLBACK_TYPEMASK | allowedExtra)) != 0) return MMSYSERR_INVALFLAG;
  if (type == CALLBACK_NULL) return MMSYSERR_NOERROR;
  if (type != CALLBACK_WINDOW) return MMSYSERR_INVALFLAG;
  HWND candidate = reinterpret_cast<HWND>(callback);
  if (!IsWindow(candidate)) return MMSYSERR_INVALPARAM;
  window = candidate;
  return MMSYSERR_NOERROR;
}

}  // namespace midi
