#pragma once
// The message boxes after a fault (in the presenting process): unless CloseQuietly, the
// choice is 3 (mail) with JustEmail, else 2 (details) with SkipInitialMessage, else the
// button pressed in the first box (1 OK, 2 Details, 3 Email). The details box shows the
// report under TextForMessage2 and offers OK or Email. When the report file was not written,
// both boxes and the mail say so (`reportFileProblem`, one sentence; empty when it was).
#include <string_view>

#include "crash/faultscribe.h"

namespace crash {
void ShowFaultBoxes(FaultscribeClass& reporter, std::string_view report, DWORD exceptionCode,
                    std::string_view reportFileProblem);
}  // namespace crash
