#pragma once
// POST(event, field, thread): queues a runtime event for a thread's event loop. Safe from
// any thread; thread 0 is the calling thread. An event posted while the runtime dispatches
// a raw message to one of its windows goes to that window; any other event goes to the
// thread's top window when it is taken. A posted-to thread that is waiting is woken.
#include "platform/win/types.h"

// FALSE when the thread has no runtime data (never attached, or ended).
BOOL POST(int event, int field = 0, LONG thread = 0);
