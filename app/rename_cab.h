#pragma once
// The modal window that asks for a user cab's new name. Returns 1 when the user confirmed a
// name with OK (left in GLO::CabName), 0 otherwise.
#include <string_view>

#include "platform/rt/window_def.h"
#include "platform/win/types.h"

LONG RenameCab(std::string_view currentName);

// Its definition (resource "P19$WINDOW").
rt::WindowDef RenameCabWindowDef();
