#pragma once
// Whether a dropped file may be sent to the unit as a cab file: function 7Ah in byte 6 and
// no slot of its own (byte 7 is 7Fh, so it goes into the user slot the librarian has
// selected), and nothing in it but the unit's cab-file messages.
#include <string_view>

enum class CabFileVerdict {
  Sendable,
  Invalid,        // unreadable, not 7Ah, or not wholly made of the unit's cab-file messages
  HardCodedSlot,  // names a slot of its own
};

// `loaded` is false when the file could not be read; `bytes` is what was read.
CabFileVerdict JudgeCabFile(bool loaded, std::string_view bytes);

// True when `bytes` (at most 1 MiB) are complete system-exclusive messages for the unit, each
// with its checksum right: a start message (7Ah) first, then data messages (7Bh) in any
// number, and a closing message (7Ch) last; or a lone start message.
bool IsWholeCabFile(std::string_view bytes);
