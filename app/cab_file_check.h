#pragma once
// Whether a dropped file may be sent to the unit as a cab file: one system-exclusive
// message with function 7Ah whose byte 7 is 7Fh (no slot of its own, so it goes into
// the user slot the librarian has selected).
#include <string_view>

enum class CabFileVerdict {
  Sendable,
  Invalid,        // unreadable, too short to hold a function and a slot byte, or not 7Ah
  HardCodedSlot,  // names a slot of its own
};

// `loaded` is false when the file could not be read; `bytes` is what was read.
CabFileVerdict JudgeCabFile(bool loaded, std::string_view bytes);
