#pragma once
// The platform's CLIP: a text without its trailing blanks.
#include <string_view>

#include "platform/win/system/ascii_text.h"

inline std::string_view Clip(std::string_view text) { return win::Clipped(text); }
