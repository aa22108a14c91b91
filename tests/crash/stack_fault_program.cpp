// A program that faults three calls deep (main, Outer, Middle, Inner) with the crash reporter
// installed, quietly: the test reads the report file it leaves.
//
//   crash_stack_fault_program REPORTFILE [details | wait=FOLDER]
//
// wait=FOLDER: once the reporter is installed, the program leaves FOLDER/ready and faults only
// when FOLDER/go appears (within 30 seconds), so a test can change its file meanwhile.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "crash/faultscribe.h"
#include "crash/present/presenter.h"
#include "platform/harness/screen_choice.h"
#include "platform/rt/module.h"

namespace {

const char* gReportFile = "";
bool gDetails = false;
std::filesystem::path gWaitFolder;

class QuietReporter final : public FaultscribeClass {
 public:
  void Initialize() override {
    DumpFileName = gReportFile;
    CloseQuietly = 1;
    ShowDetails = gDetails ? 1 : 0;
  }
};

QuietReporter* gReporter = nullptr;
volatile int* gNowhere = nullptr;

// The sanitizers would stop the bad write before it faults; the reporter is what is tested.
[[gnu::noinline, gnu::no_sanitize("address", "undefined")]] void Inner(int value) {
  *gNowhere = value;
  asm volatile("" ::: "memory");
}

[[gnu::noinline]] void Middle(int value) {
  Inner(value + 1);
  asm volatile("" ::: "memory");
}

[[gnu::noinline]] void Outer(int value) {
  Middle(value + 1);
  asm volatile("" ::: "memory");
}

void WaitForGo() {
  if (gWaitFolder.empty()) return;
  std::ofstream(gWaitFolder / "ready").close();
  for (int i = 0; i < 3000 && !std::filesystem::exists(gWaitFolder / "go"); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

}  // namespace

int main(int argc, char** argv) {
  if (crash::IsPresenterRun(argc, argv)) return crash::RunPresenter(argc, argv, harness::ScreenFromEnvironment({}));
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s REPORTFILE [details | wait=FOLDER]\n", argv[0]);
    return 2;
  }
  gReportFile = argv[1];
  gDetails = argc > 2 && std::strcmp(argv[2], "details") == 0;
  if (argc > 2 && std::strncmp(argv[2], "wait=", 5) == 0) gWaitFolder = argv[2] + 5;
  rt::Program program;
  program.modules.push_back(crash::CrashModule());
  program.modules.push_back(rt::Module{.name = "reporter",
                                       .start =
                                           [] {
                                             gReporter = new QuietReporter;
                                             gReporter->Construct();
                                           },
                                       .stop = [] { delete gReporter; }});
  program.main = [] {
    WaitForGo();
    Outer(1);
  };
  program.screen = harness::ScreenFromEnvironment({});
  return rt::RunProgram(argc, argv, program);
}
