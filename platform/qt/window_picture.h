#pragma once
// A picture of an open window as the Qt screen draws it, for screenshot tests of the
// program's windows. Free of Qt headers.
#include <string>

#include "platform/rt/window.h"

namespace qtscreen {

// Draws the window into a PNG file and returns how many distinct colours the picture holds
// (a blank window has one or two); 0 when the current screen is not the Qt screen, the
// window has no view on it, or the file cannot be written.
int SaveWindowPicture(const rt::Window& window, const std::string& path);

}  // namespace qtscreen
