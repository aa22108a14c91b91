#pragma once
// The librarian's answers when the desktop session ends: it never holds the session up,
// and it does nothing more when the session really ends (settings are saved only by a
// normal close of the main window).
#include "platform/win/types.h"

LONG MyOkToEndSessionHandler(LONG logoff);
LONG MyEndSessionHandler(LONG logoff);
