// Every kind of fault, in the fault program run under a debugger: each level of the report's
// trace is a frame the debugger gives for the same fault, with the procedure the records name.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "tests/crash/debugger_trace.h"
#include "tests/support/file_text.h"

namespace {

struct FaultKind {
  std::string fault;
  bool raisedByRuntime;  // the runtime's own fatal errors reach the reporter through its hook
};

void PrintTo(const FaultKind& kind, std::ostream* out) { *out << kind.fault; }

class ReportAgainstDebugger : public ::testing::TestWithParam<FaultKind> {};

TEST_P(ReportAgainstDebugger, EveryLevelIsTheDebuggersFrame) {
  const FaultKind& kind = GetParam();
  test_support::WriteFileText("script.txt", "");
  std::vector<std::string> commands;
  // The debugger stops at a signal by itself; a runtime error it stops where the hook takes it.
  if (kind.raisedByRuntime) commands.push_back("break vrLastChanceHook");
  commands.insert(commands.end(), {"run", "report-frames", "continue"});
  crashtest::DebuggerRun run = crashtest::RunUnderDebugger(
      {FAULT_PROGRAM, kind.fault, "CloseQuietly=1"}, {"BOXWRIGHT_SCREEN=script", "BOXWRIGHT_SCRIPT=script.txt"},
      commands);
  ASSERT_FALSE(run.frames.empty()) << run.child.output << run.child.errors;
  crashtest::ExpectTraceAgrees(test_support::FileText("Faultscribe.log"), run.frames, kind.raisedByRuntime);
}

INSTANTIATE_TEST_SUITE_P(EachKind, ReportAgainstDebugger,
                         ::testing::Values(FaultKind{"assertion", true}, FaultKind{"index", true},
                                           FaultKind{"exception", true}, FaultKind{"abort", false},
                                           FaultKind{"nullread", false}, FaultKind{"readonlywrite", false},
                                           FaultKind{"divzero", false}, FaultKind{"illegal", false},
                                           FaultKind{"overflow", false}, FaultKind{"nullcall", false},
                                           FaultKind{"thread", false}),
                         [](const auto& info) { return info.param.fault; });

}  // namespace
