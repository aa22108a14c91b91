#pragma once
// The product name as the capability records carry it.
#include <string_view>

#include "platform/midi/mmsystem.h"

namespace midi {
// Copies at most MAXPNAMELEN - 1 characters and a NUL.
void CopyProductName(char (&target)[MAXPNAMELEN], std::string_view name);
}  // namespace midi
