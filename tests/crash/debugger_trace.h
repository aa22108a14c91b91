#pragma once
// A report's trace held against the frames a debugger gives for the same fault: the program
// runs under gdb, which prints the faulting thread's frames when the fault (or a breakpoint)
// stops it and then lets the program go on to its report.
#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/child_program.h"

namespace crashtest {

// A procedure and the source line the debugger gives a frame ("" and 0 where it knows none).
struct DebuggerPlace {
  std::string name;  // as the debugger names it, parameters and all
  std::string file;  // full path
  int line = 0;
};

// A frame the debugger walked: its address, its procedure's name and place (of the outermost
// procedure, the one not inlined) and the library it lies in ("" for the program), and the
// inlined calls the debugger shows as frames of their own at that address, outermost first.
// Only frames of their own on the stack: tail-call frames are left out.
struct DebuggerFrame {
  std::uint64_t pc = 0;
  std::string name;
  std::string library;
  DebuggerPlace place;
  std::vector<DebuggerPlace> inlined;
  // In a library: the debugger's `info symbol` of the address and of the byte before it.
  std::string symbolAt, symbolBefore;
  // Stopped where inlined code begins, the debugger hides those calls and gives the frame no
  // place of its own (its place's line is then 0): only the procedure is compared.
  bool callsHidden = false;
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
// same address, the procedure, line and source the records name agreeing with the debugger's
// outermost procedure there, the inlined calls under the level with its inlined frames, a
// library frame in the same library, and no level beyond the debugger's outermost frame but one.
// `raisedByCall`: the fault was raised by a call of the runtime's, whose error address is that call.
void ExpectTraceAgrees(const std::string& report, const std::vector<DebuggerFrame>& frames, bool raisedByCall);

}  // namespace crashtest
