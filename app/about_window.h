#pragma once
// The modal window with the program's name, version and notices.
#include "platform/rt/window_def.h"

void AboutWindow();

// Its definition (resource "P26$WINDOW").
rt::WindowDef AboutWindowDef();
