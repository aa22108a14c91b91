#pragma once
// The state of open windows as JSON, for the transcript's "dump" lines:
// {"<caption>": {"<EQUATE>": {"text": ..., "value": ..., "hidden": bool, "rows": [[...]],
//  "selected": n}}}. "value" appears for controls that show a value, "rows" for lists,
// "selected" for lists, options and sheets, "disabled": true only for disabled controls.
// "hidden" is what a user sees: hidden itself, inside a hidden control, or on another tab.
// "fontColor", "fontStyle" and "cursor" appear when they are not the default (a colour of
// -1, a style of 0, a blank cursor), as defined or as the program set them; lists add
// "columnOrder" once the user moved columns and "cellStyles" ([row, column, style]) once a
// cell has a style. Controls created while the window is open appear under their number.
// Windows defined hidden (never shown) are left out.
#include <string>
#include <vector>

#include "platform/rt/window.h"

namespace harness {
std::string DumpWindows(const std::vector<rt::Window*>& windows);
}  // namespace harness
