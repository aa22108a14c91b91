#pragma once
// A report's trace held against the frames a debugger gives for the same fault: the program
// runs under gdb, which prints the faulting thread's frames when the fault (or a breakpoint)
// stops it and then lets the program go on to its report.
#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/child_program.h"

namespace crashtest {

// A frame the debugger walked: its address, its procedure's name (as the debugger names it,
// parameters and all; "" when it knows none) and the library it lies in ("" for the program).
// Only frames of their own on the stack: the debugger's inlined and tail-call frames are left out.
struct DebuggerFrame {
  std::uint64_t pc = 0;
  std::string name;
  std::string library;
};

struct DebuggerRun {
  test_support::ChildRun child;
  std::vector<DebuggerFrame> frames;  // at the "report-frames" command, innermost first
};

// Runs `program` under gdb in the current folder with `environment` (as RunChild), doing
// `commands` in order; among them "report-frames" collects the stopped thread's frames.
DebuggerRun RunUnderDebugger(const std::vector<std::string>& program, const std::vector<std::string>& environment,
                             const std::vector<std::string>& commands);

// Expects every level of the report's trace to be the debugger's frame at that place: level 0
// (the error address) the frame the walk starts from, each "[nn]" level the one above, with the
// same address, the procedure the records name agreeing with the debugger's, a library frame in
// the same library, and no level beyond the debugger's outermost frame but one. `raisedByCall`:
// the fault was raised by a call of the runtime's, whose error address is that call.
void ExpectTraceAgrees(const std::string& report, const std::vector<DebuggerFrame>& frames, bool raisedByCall);

}  // namespace crashtest
