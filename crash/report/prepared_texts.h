#pragma once
// What the report needs that cannot be made at fault time, made ahead by PrepareFaultPath
// (called by Construct): the system's version text and the zone offset of the clock.
#include <string_view>

namespace crash {

void PrepareFaultPath();

// The version text of kx_GetWinVersion, as read by PrepareFaultPath.
std::string_view WinVersionText();

}  // namespace crash
