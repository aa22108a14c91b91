// The fault sequence: what happens from the moment a fault reaches the reporter to the end of
// the process. It runs on the faulting thread, on that thread's alternate stack when a signal
// brought it, so it keeps its frames small and its buffers static. It drives the stages one
// way: the facts of the fault, the report text (which captures, resolves and formats the
// trace), the report file, and the presenting process.
#include "crash/faultscribe_sequence.h"

#include <sys/syscall.h>
#include <time.h>
#include <unistd.h>

#include <csignal>

#include "crash/faultscribe.h"
#include "crash/present/presenter_channel.h"
#include "crash/present/restart_guard.h"
#include "crash/report/faultscribe_report.h"
#include "crash/report/faultscribe_trace.h"
#include "crash/report/prepared_texts.h"
#include "crash/resolve/faultscribe_symbols.h"
#include "crash/write/report_file.h"
#include "platform/rt/clock.h"
#include "platform/rt/event_loop.h"
#include "platform/rt/props.h"
#include "platform/rt/system.h"
#include "platform/rt/thread.h"

namespace {

crash::ReportText gReport;                // made ahead: the fault path has no heap
std::atomic<long> gHandlingThread{0};     // the thread that set AlreadyActive

long ThisThread() { return static_cast<long>(::syscall(SYS_gettid)); }

// The signal the fault came as (or would have): the process ends with 128 + it.
int SignalOf(DWORD code) {
  switch (code) {
    case EXCEPTION_ACCESS_VIOLATION:
    case EXCEPTION_STACK_OVERFLOW: return SIGSEGV;
    case EXCEPTION_IN_PAGE_ERROR:
    case EXCEPTION_DATATYPE_MISALIGNMENT: return SIGBUS;
    case EXCEPTION_INT_DIVIDE_BY_ZERO:
    case EXCEPTION_INT_OVERFLOW:
    case EXCEPTION_FLT_DIVIDE_BY_ZERO:
    case EXCEPTION_FLT_INEXACT_RESULT:
    case EXCEPTION_FLT_INVALID_OPERATION:
    case EXCEPTION_FLT_OVERFLOW:
    case EXCEPTION_FLT_UNDERFLOW: return SIGFPE;
    case EXCEPTION_ILLEGAL_INSTRUCTION:
    case EXCEPTION_PRIV_INSTRUCTION: return SIGILL;
    case EXCEPTION_BREAKPOINT:
    case EXCEPTION_SINGLE_STEP: return SIGTRAP;
    case EXCEPTION_INVALID_SYSTEM_SERVICE: return SIGSYS;
    default: return SIGABRT;
  }
}

// Another thread is reporting: this one waits for the process to end, or for the other to
// let go (a fault it filtered away), and then tries again.
bool WaitWhileAnotherReports() {
  while (vrGPF::AlreadyActive.load() != 0) {
    if (gHandlingThread.load() == ThisThread()) return false;  // a fault inside the reporter
    timespec pause{0, 10 * 1000 * 1000};
    ::nanosleep(&pause, nullptr);
  }
  return true;
}

}  // namespace

namespace crash {
void PrepareFaultSequence() {
  PrepareFaultPath();
  PrepareSymbolLookup();
  PrepareStackWalk();
  PreparePresenter();
  PrepareRestartGuard();
}
}  // namespace crash

LONG FaultscribeClass::_VectoredExceptionHandler_(EXCEPTION_POINTERS* pointers) {
  const EXCEPTION_RECORD& er = *pointers->ExceptionRecord;
  // 1. Once per process: a second fault while reporting is declined (on the reporting
  // thread) or waits (on another).
  for (;;) {
    if (Disable == 1) return EXCEPTION_CONTINUE_SEARCH;
    if (!WaitWhileAnotherReports()) return EXCEPTION_CONTINUE_SEARCH;
    if (vrGPF::AlreadyActive.exchange(1) == 0) break;
  }
  gHandlingThread.store(ThisThread());
  // 2. Only a continuable fault may be filtered away.
  if (er.ExceptionFlags == 0) {
    IgnoreThisException = 0;
    FilterExceptions(er.ExceptionCode);
    if (IgnoreThisException == 1) {
      gHandlingThread.store(0);
      vrGPF::AlreadyActive.store(0);
      return EXCEPTION_CONTINUE_SEARCH;
    }
  }
  // 3. From here on the handler does not return.
  AttachThreadToRuntime(1);
  rt::SetSystemProp(PROP::MessageHook, 0);
  // 4. The time stamp.
  crash::FaultFacts facts{pointers, 0, 0, 0, 0, 0, 0};
  rt::ReadClockForFault(facts.today, facts.clock);
  // A program restarted moments ago that faults again ends: restarting it once more would
  // restart a fault at start-up for ever. The boxes then say that it ends.
  if (RestartProgram == 1 && crash::RestartedMomentsAgo()) RestartProgram = 0;
  // 5, 6.
  _SetFileNames();
  _InitReportText();
  crash::BoundedText<128> first("GPF occurred, ER.ExceptionCode=");
  first.AppendHex(er.ExceptionCode, 8).Append("h ER.ExceptionAddress=");
  first.AppendHex(reinterpret_cast<ULONG_PTR>(er.ExceptionAddress), 16).Append('h');
  _DebugLog(first.View(), 1);
  // 7. What the runtime was handling.
  facts.thread = THREAD();
  facts.field = FIELD();
  facts.event = EVENT();
  facts.keyCode = KEYCODE();
  // 8. The presenting process shows the wait window (and later everything else), with the
  // count of the levels the trace has done.
  bool waitWindow = crash::WantsWaitWindow(*this, er.ExceptionCode);
  if (waitWindow) WaitWindowOpen = 1;
  LevelProgress = crash::ShowLevelsDone;
  crash::StartPresenter(*this, er.ExceptionCode, waitWindow);
  // 9, 10. The report and its file.
  crash::BuildReport(*this, facts, gReport);
  int reportFileReason = crash::WriteReportFile(*this, gReport);
  _DebugLog("After Writing DumpFile", 0);
  WaitWindowOpen = 0;  // the presenting process closes it when the report comes
  // 11 to 13 happen in the presenting process: the wait window closes, the boxes, the mail,
  // the command and the restart.
  crash::SendReportToPresenter(gReport.View(), reportFileReason);
  crash::AwaitPresenter();
  // 14. A fault is a failure: the status says which signal it was.
  ::_exit(128 + SignalOf(er.ExceptionCode));
}
