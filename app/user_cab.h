#pragma once
// The user-cab offset: the cab number of the first user cab, as the "User Cab Offset" box
// shows it. 0 means the first user cab is not known yet: until the user sets the offset no
// cab counts as a user cab, so nothing can be renamed or overwritten by guesswork.
#include "platform/win/types.h"

inline constexpr LONG USER_CAB_OFFSET_MAX = 999;  // the box shows three digits

// An offset held in the range the box shows: below 0 is 0, beyond the box its largest value.
LONG ShownUserCabOffset(LONG offset);

// The user slot (from 1) of cab `cabNum` under `offset`; 0 for a factory cab or while the
// offset is not known. Never overflows, whatever the offset.
LONG UserCabOf(LONG cabNum, LONG offset);
