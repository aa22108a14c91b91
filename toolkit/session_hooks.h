#pragma once
// The two process-wide session-end hooks. Each takes the log-off flag (1 when the user
// logs off, 0 when the system shuts down). The ok-to-end hook answers non-zero when the
// session may end; the end-session hook's answer is not used.
#include "platform/win/types.h"

using kx_SessionHook = LONG (*)(LONG logoff);

// Each stores its hook (nullptr removes it) and returns the previous one.
kx_SessionHook kx_SetOkToEndSessionHandler(kx_SessionHook pCallbackAddress);
kx_SessionHook kx_SetEndSessionHandler(kx_SessionHook pCallbackAddress);

// The hooks as they are now; nullptr when unset.
kx_SessionHook kx_OkToEndSessionHandler();
kx_SessionHook kx_EndSessionHandler();
