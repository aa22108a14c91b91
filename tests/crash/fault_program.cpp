// A program that faults on request, for the crash reporter's tests: the tests start it as a
// child process and read what it leaves (report, log, transcript, exit status). It runs on
// the scripted screen when BOXWRIGHT_SCREEN says so, else on the real one.
//
//   crash_fault_program FAULT [PROPERTY=VALUE ...]
//
// FAULT: none, nullread, readonlywrite, divzero, illegal, nullcall, abort, overflow, thread,
// twothreads, doublefree, lockedruntime, assertion, index, exception, refault (a breakpoint,
// then a division by zero), window (a window whose FAULT button faults:
// the script presses it), sent (another process sends it a SIGSEGV; the sender's id is printed).
// Properties: the reporter's BYTE and text properties by name (DumpFileName, CloseQuietly,
// JustEmail, ...), IgnoreCode=<hex> (its FilterExceptions ignores that code),
// SlowReport=<seconds> (the report takes that long),
// TrapAllocations=1 (any allocation after the fault has begun ends the program with
// status 99), and RecordArguments=<folder> (each run leaves its arguments there, in a file
// of its own, each argument followed by a NUL byte; a restart is a run too).
#include <pthread.h>
#include <signal.h>
#include <sys/mman.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <thread>

#include "crash/faultscribe.h"
#include "crash/present/presenter.h"
#include "platform/harness/screen_choice.h"
#include "platform/qt/make_qt_screen.h"
#include "platform/rt/event_loop.h"
#include "platform/rt/fatal_error.h"
#include "platform/rt/module.h"
#include "platform/rt/props.h"
#include "platform/rt/system.h"
#include "platform/rt/queue.h"
#include "platform/rt/window_def.h"
#include "platform/win/modules/unhandled_exception_filter.h"
#include "tests/support/deliberate_faults.h"
#include "toolkit/toolkit_lock.h"

namespace {

std::atomic<bool> gTrapAllocations{false};
std::atomic<bool> gAllocationTrapArmed{false};

}  // namespace

#if !defined(__SANITIZE_ADDRESS__)
// The allocator, watched: once a fault is being handled, an allocation is a failure of
// the test.
extern "C" void* __libc_malloc(std::size_t);
extern "C" void* __libc_calloc(std::size_t, std::size_t);
extern "C" void* __libc_realloc(void*, std::size_t);
namespace {
void CheckAllocation() {
  if (!gAllocationTrapArmed.load()) return;
  const char text[] = "allocation on the fault path\n";
  ssize_t ignored = write(STDERR_FILENO, text, sizeof text - 1);
  (void)ignored;
  _exit(99);
}
}  // namespace
extern "C" void* malloc(std::size_t size) {
  CheckAllocation();
  return __libc_malloc(size);
}
extern "C" void* calloc(std::size_t count, std::size_t size) {
  CheckAllocation();
  return __libc_calloc(count, size);
}
extern "C" void* realloc(void* block, std::size_t size) {
  CheckAllocation();
  return __libc_realloc(block, size);
}
#endif

namespace {

std::map<std::string, std::string> gSettings;

class TestReporter final : public FaultscribeClass {
 public:
  void Initialize() override {
    auto byte = [](const char* name, BYTE& property) {
      auto it = gSettings.find(name);
      if (it != gSettings.end()) property = static_cast<BYTE>(std::atoi(it->second.c_str()));
    };
    auto text = [](const char* name, auto& property) {
      auto it = gSettings.find(name);
      if (it != gSettings.end()) property = it->second;
    };
    DumpFileName = "Faultscribe.log";
    text("DumpFileName", DumpFileName);
    text("WindowTitle", WindowTitle);
    text("VersionNumber", VersionNumber);
    text("Workstation", Workstation);
    text("UserName", UserName);
    text("ReportText", ReportText);
    text("TextForExtraInfo", TextForExtraInfo);
    byte("Disable", Disable);
    byte("CloseQuietly", CloseQuietly);
    byte("SkipInitialMessage", SkipInitialMessage);
    byte("JustEmail", JustEmail);
    byte("DumpFileAppend", DumpFileAppend);
    byte("DebugLogEnabled", DebugLogEnabled);
    byte("ShowDetails", ShowDetails);
    byte("WaitWinEnabled", WaitWinEnabled);
    byte("RestartProgram", RestartProgram);
  }
  // SlowReport=<seconds> keeps the report in the making that long (the wait window shows).
  void ExtraReportText() override {
    auto it = gSettings.find("SlowReport");
    if (it == gSettings.end()) return;
    timespec pause{std::atol(it->second.c_str()), 0};
    nanosleep(&pause, nullptr);
  }
  void FilterExceptions(ULONG code) override {
    auto it = gSettings.find("IgnoreCode");
    if (it != gSettings.end() && std::strtoul(it->second.c_str(), nullptr, 16) == code) IgnoreThisException = 1;
  }
};

TestReporter* gReporter = nullptr;

// Arms the allocation trap, then hands the fault on as the reporter's own filter would. A
// breakpoint the reporter declines is resumed here, as the next handler in a chain (a
// debugger) would.
LONG ArmingFilter(EXCEPTION_POINTERS* pointers) {
  if (gTrapAllocations) gAllocationTrapArmed = true;
  LONG answer = VectoredExceptionHandler(pointers);
  if (answer == EXCEPTION_CONTINUE_SEARCH && pointers->ExceptionRecord->ExceptionCode == EXCEPTION_BREAKPOINT) {
    gAllocationTrapArmed = false;
    return EXCEPTION_CONTINUE_EXECUTION;
  }
  return answer;
}

// The same for the runtime's fatal errors, which come through the last-chance hook.
LONG ArmingHook(rt::IExceptionInfo* info) {
  if (gTrapAllocations) gAllocationTrapArmed = true;
  return vrLastChanceHook(info);
}

void ReadOnlyWrite() {
  // The address goes to standard output first, so that the test can look for it.
  void* page = mmap(nullptr, 4096, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  std::printf("%p\n", page);
  std::fflush(stdout);
  *static_cast<volatile int*>(page) = 1;
}


// A thread as the MIDI back-ends start them: prepared for faults, not attached to the runtime.
void OnSecondThread(std::function<void()> fault) {
  std::thread([fault] {
    win::PrepareThreadForFaults();
    fault();
  }).join();
}

void TwoThreadsTogether() {
  std::atomic<int> ready{0};
  auto body = [&ready] {
    win::PrepareThreadForFaults();
    ready.fetch_add(1);
    while (ready.load() < 2) {
    }
    deliberate::NullRead();
  };
  std::thread first(body);
  std::thread second(body);
  first.join();
  second.join();
}

void DoubleFree() {
  void* volatile block = std::malloc(64);
  std::free(block);
  std::free(block);
}

void LockedRuntime() {
  ToolkitLockHold hold;
  flockfile(stdout);
  flockfile(stderr);
  deliberate::NullRead();
}

// A breakpoint first (a test's IgnoreCode=80000003 filters it away, and it resumes), then
// a division by zero.
void Refault() {
  deliberate::Breakpoint();
  deliberate::DivideByZero();
}

// Another process sends this one a SIGSEGV, as `kill -SEGV` would; the sender's id goes to the
// output, for the test to find in the report.
void SentByAnotherProcess() {
  int go[2];
  if (pipe(go) != 0) return;
  pid_t sender = fork();
  if (sender == 0) {
    // Only once the id is out, so the report never comes first.
    char byte;
    if (read(go[0], &byte, 1) == 1) kill(getppid(), SIGSEGV);
    _exit(0);
  }
  std::printf("%d\n", static_cast<int>(sender));
  std::fflush(stdout);
  if (write(go[1], "", 1) != 1) return;
  for (;;) pause();
}

void FaultWindow() {
  rt::WindowDef def{.caption = "Fault", .at = {0, 0, 100, 40}};
  def.controls = {{.feq = 1, .equate = "FAULT", .kind = rt::Kind::Button, .text = "Fault", .at = {4, 4, 40, 14}}};
  rt::Window* window = rt::OpenWindow(def);
  while (rt::Accept(*window)) {
    if (EVENT() == EVENT::Accepted && FIELD() == 1) deliberate::NullRead();
  }
  rt::CloseWindow(*window);
}

const std::map<std::string, std::function<void()>>& Faults() {
  static const std::map<std::string, std::function<void()>> faults = {
      {"none", [] {}},
      {"nullread", deliberate::NullRead},
      {"readonlywrite", ReadOnlyWrite},
      {"divzero", deliberate::DivideByZero},
      {"illegal", deliberate::IllegalInstruction},
      {"nullcall", deliberate::CallThroughNull},
      {"abort", [] { std::abort(); }},
      {"overflow", [] { deliberate::Recurse(0); }},
      {"thread", [] { OnSecondThread(deliberate::NullRead); }},
      {"twothreads", TwoThreadsTogether},
      {"doublefree", DoubleFree},
      {"lockedruntime", LockedRuntime},
      {"assertion", [] { ASSERT(1 + 1 == 3); }},
      {"index", [] { rt::IndexOutOfRange(7, 3); }},
      {"exception", [] { rt::Queue<int> empty; (void)empty.Peek(1); }},
      {"refault", Refault},
      {"window", FaultWindow},
      {"sent", SentByAnotherProcess},
  };
  return faults;
}

std::string gFault;

void RecordArguments(const std::string& folder, int argc, char** argv) {
  std::string record;
  for (int i = 1; i < argc; ++i) record.append(argv[i]).push_back('\0');
  const std::string file = folder + "/run-" + std::to_string(getpid());
  FILE* out = std::fopen(file.c_str(), "wb");
  if (out == nullptr) return;
  std::fwrite(record.data(), 1, record.size(), out);
  std::fclose(out);
}

}  // namespace

int main(int argc, char** argv) {
  const harness::ScreenMaker screen = harness::ScreenFromEnvironment(qtscreen::MakeQtScreen);
  if (crash::IsPresenterRun(argc, argv)) return crash::RunPresenter(argc, argv, screen);
  if (argc < 2 || Faults().count(argv[1]) == 0) {
    std::fprintf(stderr, "usage: %s FAULT [PROPERTY=VALUE ...]\n", argv[0]);
    return 2;
  }
  gFault = argv[1];
  for (int i = 2; i < argc; ++i) {
    std::string setting = argv[i];
    auto equals = setting.find('=');
    if (equals != std::string::npos) gSettings[setting.substr(0, equals)] = setting.substr(equals + 1);
  }
  gTrapAllocations = gSettings.count("TrapAllocations") != 0;
  if (gSettings.count("RecordArguments") != 0) RecordArguments(gSettings["RecordArguments"], argc, argv);
  rt::Program program;
  program.modules.push_back(crash::CrashModule());
  program.modules.push_back(rt::Module{.name = "reporter",
                                       .start =
                                           [] {
                                             gReporter = new TestReporter;
                                             gReporter->Construct();
                                             SetUnhandledExceptionFilter(ArmingFilter);
                                             rt::SetSystemProp(PROP::LastChanceHook,
                                                               reinterpret_cast<LONG_PTR>(&ArmingHook));
                                           },
                                       .stop = [] { delete gReporter; }});
  program.main = [] { Faults().at(gFault)(); };
  program.screen = screen;
  return rt::RunProgram(argc, argv, program);
}
