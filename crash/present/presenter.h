#pragma once
// The presenting process: the program started again by its own fault handler with
// kPresenterSwitch first (presenter_channel.h). It shows what the faulting process may not:
// the wait window while the report is built, the first message box and the details box,
// then the mail, the command and the restart, and ends with status 0.
#include <functional>
#include <memory>

#include "platform/rt/module.h"

namespace crash {

// Whether this run of the program is a presenting process.
bool IsPresenterRun(int argc, char** argv);
// Runs it on the runtime (with the crash reporter's module and the program's own choice of
// screen, which carries on a test's script); the switch is taken away, so COMMAND() answers
// as in the process that faulted. Returns the exit status.
int RunPresenter(int argc, char** argv, std::function<std::unique_ptr<rt::Screen>()> screen);

// The crash reporter's module: announces the control kinds of its windows.
rt::Module CrashModule();

}  // namespace crash
