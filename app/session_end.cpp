#include "app/session_end.h"

LONG MyOkToEndSessionHandler(LONG) { return 1; }

LONG MyEndSessionHandler(LONG) { return 0; }
