#pragma once
// The screen a program runs on, as its start-up chooses it: the scripted screen when
// BOXWRIGHT_SCREEN=script (so tests drive the real program, and the crash reporter's
// presenting process carries on their script), else the one given.
#include <functional>
#include <memory>

#include "platform/rt/screen.h"

namespace harness {

using ScreenMaker = std::function<std::unique_ptr<rt::Screen>()>;

// `otherwise`: the screen users see; empty for the quiet screen.
ScreenMaker ScreenFromEnvironment(ScreenMaker otherwise);

}  // namespace harness
