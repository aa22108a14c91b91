#pragma once
// The faulting process's side of the presenting process: it starts a fresh process of the
// program's own file (with kPresenterSwitch before the original arguments), feeds it over a
// pipe, and waits for it to end. Under the scripted screen the new process carries on the
// same script and transcript (BOXWRIGHT_SCRIPT_RESUME). Neither the heap nor a lock of
// ordinary code is touched: argv is made ahead, the process is started with _Fork.
#include <string_view>

#include "crash/faultscribe.h"

namespace crash {

// Made at construction (PrepareFaultSequence).
void PreparePresenter();

// Whether the presenting process shows the wait window while the report is made: asked for,
// not quiet, and never for a stack overflow.
bool WantsWaitWindow(const FaultscribeClass& reporter, DWORD exceptionCode);

// Starts the presenting process and sends it the fault; false when it could not start (the
// report is still written, nothing is shown).
bool StartPresenter(FaultscribeClass& object, DWORD exceptionCode, bool openWaitWindow);
// Tells the presenting process how many stack levels are walked (its wait window shows it).
void ShowLevelsDone(LONG levels);
// Sends the report and why its file was not written (0: it was); the presenting process
// then shows the boxes.
void SendReportToPresenter(std::string_view report, int reportFileReason);
// Closes the pipe and waits until the presenting process has ended.
void AwaitPresenter();

}  // namespace crash
