#pragma once
// The Qt screen for rt::Program::screen. Free of Qt headers, so the program's start-up may
// include it.
#include <memory>

#include "platform/rt/screen.h"

namespace qtscreen {

// Starts Qt when it is not running yet (Qt then ends with the screen) and returns the
// screen users see.
std::unique_ptr<rt::Screen> MakeQtScreen();

}  // namespace qtscreen
