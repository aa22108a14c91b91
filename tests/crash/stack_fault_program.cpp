// A program that faults three calls deep (main, Outer, Middle, Inner) with the crash reporter
// installed, quietly: the test reads the report file it leaves.
//
//   crash_stack_fault_program REPORTFILE [details]
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "crash/faultscribe.h"
#include "crash/presenter.h"
#include "platform/rt/module.h"

namespace {

const char* gReportFile = "";
bool gDetails = false;

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

}  // namespace

int main(int argc, char** argv) {
  if (crash::IsPresenterRun(argc, argv)) return crash::RunPresenter(argc, argv, nullptr);
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s REPORTFILE [details]\n", argv[0]);
    return 2;
  }
  gReportFile = argv[1];
  gDetails = argc > 2 && std::strcmp(argv[2], "details") == 0;
  rt::Program program;
  program.modules.push_back(crash::CrashModule());
  program.modules.push_back(rt::Module{.name = "reporter",
                                       .start =
                                           [] {
                                             gReporter = new QuietReporter;
                                             gReporter->Construct();
                                           },
                                       .stop = [] { delete gReporter; }});
  program.main = [] { Outer(1); };
  return rt::RunProgram(argc, argv, program);
}
