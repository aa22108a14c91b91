#include "crash/present/presenter.h"

#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <string>
#include <vector>

#include "crash/present/faultscribe_boxes.h"
#include "crash/present/presenter_protocol.h"
#include "crash/present/wait_window.h"
#include "crash/write/report_file_problem.h"
#include "platform/rt/control_kind.h"

namespace crash {
namespace {

bool ReadAll(void* data, std::size_t size) {
  char* at = static_cast<char*>(data);
  while (size > 0) {
    ssize_t n = ::read(kPresenterPipeFd, at, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    at += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

void Present() {
  // Nothing here waits to be saved at the end of a session: a logout or a shutdown ends the
  // presenting process at once, its box open or not, as it would have ended the one that
  // faulted.
  ::signal(SIGTERM, SIG_DFL);
  ::signal(SIGHUP, SIG_DFL);
  FaultscribeClass reporter;
  FaultHeader fault{};
  FaultscribeProperties properties;
  if (!ReadAll(&fault, sizeof fault) || fault.magic != kFaultMagic || fault.propertyBytes != sizeof properties ||
      !ReadAll(&properties, sizeof properties)) {
    return;
  }
  // Assigned rather than read into the object: a base's tail padding may hold the object's own members.
  static_cast<FaultscribeProperties&>(reporter) = properties;
  std::unique_ptr<WaitWindow> wait;
  if (fault.openWaitWindow) wait = std::make_unique<WaitWindow>(reporter);
  ReportHeader header{};
  std::string report;
  // The count of stack levels walked comes while the report is being written.
  bool haveReport = ReadAll(&header, sizeof header);
  while (haveReport && header.magic == kLevelsMagic) {
    reporter.LevelsDone = static_cast<LONG>(header.length);
    if (wait) wait->ShowLevelsDone();
    haveReport = ReadAll(&header, sizeof header);
  }
  haveReport = haveReport && header.magic == kFaultMagic;
  if (haveReport) {
    report.resize(header.length);
    haveReport = ReadAll(report.data(), report.size());
  }
  wait.reset();
  reporter._DebugLog("After closing Wait1 window", 0);
  if (!haveReport) return;  // the faulting process died before its report was done
  ShowFaultBoxes(reporter, report, fault.exceptionCode,
                 ReportFileProblem(reporter.DumpFileName.Clipped(), header.reportFileReason));
  reporter._DebugLog("Before call to _ExecuteCommands", 0);
  reporter._ExecuteCommands();
  reporter._DebugLog("After call to _ExecuteCommands\r\n*** Finished OK ***", 0);
}

}  // namespace

bool IsPresenterRun(int argc, char** argv) { return argc > 1 && std::strcmp(argv[1], kPresenterSwitch) == 0; }

int RunPresenter(int argc, char** argv, std::function<std::unique_ptr<rt::Screen>()> screen) {
  std::vector<char*> args(argv, argv + argc);
  args.erase(args.begin() + 1);
  rt::Program program;
  program.modules.push_back(CrashModule());
  program.main = Present;
  program.screen = std::move(screen);
  return rt::RunProgram(static_cast<int>(args.size()), args.data(), program);
}

rt::Module CrashModule() {
  return rt::Module{.name = "vrGPF",
                    .start = [] {
                      rt::AnnounceControlKinds({rt::Kind::String, rt::Kind::Entry, rt::Kind::Button, rt::Kind::Prompt});
                    }};
}

}  // namespace crash
