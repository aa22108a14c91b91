#pragma once
// A picture of an open window as the Qt screen draws it, for screenshot tests of the
// program's windows. Free of Qt headers.
#include <string>

#include "platform/rt/window.h"

namespace harness {

// Draws the window into a PNG file and returns how many distinct colours the picture holds
// (a blank window has one or two); 0 when the current screen is not the Qt screen, the
// window has no view on it, or the file cannot be written.
int SaveWindowPicture(const rt::Window& window, const std::string& path);

// The lowest contrast ratio (1 to 21, as for readable text) between a label's text colour and
// any pixel of the window's background behind it, over every shown label: prompts, strings,
// radios, check boxes and group titles. 0 when the window has no view on the Qt screen.
double LeastLabelContrast(const rt::Window& window);

}  // namespace harness
