#include "tests/crash/debugger_trace.h"

#include <gtest/gtest.h>

#include "tests/support/file_text.h"

namespace crashtest {
namespace {

// gdb's Python: one line a frame of the stopped thread, the debugger's own frames left out.
constexpr const char* kFramesScript = R"(
import gdb

class ReportFrames(gdb.Command):
    def __init__(self):
        super().__init__("report-frames", gdb.COMMAND_STACK)

    def invoke(self, argument, from_tty):
        frame = gdb.newest_frame()
        count = 0
        while frame is not None and count < 48:
            if frame.type() not in (gdb.INLINE_FRAME, gdb.TAILCALL_FRAME):
                print("FRAME %x|%s|%s" % (frame.pc(), gdb.solib_name(frame.pc()) or "", frame.name() or ""))
            frame = frame.older()
            count += 1

ReportFrames()
)";

struct ReportLevel {
  std::uint64_t pc = 0;
  std::string text;  // the symbol text
};

// Level 0 from the error-address line, then each "[nn] ADDRESSh \t..." line.
std::vector<ReportLevel> ReportLevels(const std::string& report) {
  std::vector<ReportLevel> levels;
  const std::string errorLine = "Error at address : ";
  for (const std::string& line : test_support::Lines(report)) {
    if (line.rfind(errorLine, 0) == 0) {
      levels.push_back({std::stoull(line.substr(errorLine.size(), 16), nullptr, 16), line.substr(errorLine.size() + 19)});
    } else if (line.size() > 24 && line[0] == '[' && line[3] == ']' && !levels.empty()) {
      levels.push_back({std::stoull(line.substr(5, 16), nullptr, 16), line.substr(24)});
    }
  }
  return levels;
}

// The procedure a symbol text names, when its text is whole (its source item not cut off).
std::string ProcedureOf(const std::string& text) {
  auto at = text.find("Proc=");
  if (at == std::string::npos || text.find("Src=", at) == std::string::npos) return "";
  at += 5;
  std::size_t end = std::min(text.find("  ", at), text.find(" \t", at));
  return text.substr(at, end - at);
}

// The debugger's name without its parameter list (and "const"), as the records name procedures.
std::string WithoutParameters(std::string name) {
  if (name.ends_with(" const")) name.resize(name.size() - 6);
  if (name.empty() || name.back() != ')') return name;
  int depth = 0;
  for (std::size_t i = name.size(); i-- > 0;) {
    if (name[i] == ')') ++depth;
    if (name[i] == '(' && --depth == 0) {
      std::string head = name.substr(0, i);
      return head.ends_with("operator") ? name : head;
    }
  }
  return name;
}

// The records name a procedure by its demangled name, which for a template begins with its
// return type.
bool NamesAgree(const std::string& records, const std::string& debugger) {
  const std::string plain = WithoutParameters(debugger);
  return records == plain || records.ends_with(" " + plain);
}

void ExpectLevelAgrees(const ReportLevel& level, const DebuggerFrame& frame) {
  const std::string procedure = ProcedureOf(level.text);
  if (!procedure.empty()) {
    EXPECT_TRUE(NamesAgree(procedure, frame.name)) << procedure << " against the debugger's " << frame.name;
    EXPECT_EQ(frame.library, "") << level.text;
  } else if (level.text.rfind("no debug info, Module=", 0) == 0) {
    EXPECT_EQ(level.text.substr(22), frame.library);
  } else if (level.text == "no module") {
    EXPECT_EQ(frame.library + frame.name, "");
  } else {
    EXPECT_NE(level.text.find("Line="), std::string::npos) << "an unexpected symbol text: " << level.text;
  }
}

}  // namespace

DebuggerRun RunUnderDebugger(const std::vector<std::string>& program, const std::vector<std::string>& environment,
                             const std::vector<std::string>& commands) {
  test_support::WriteFileText("frames.py", kFramesScript);
  std::vector<std::string> args = {GDB_PROGRAM, "-nx", "-batch", "-iex", "set debuginfod enabled off",
                                   "-iex", "set startup-with-shell off", "-iex", "set backtrace past-main on",
                                   "-iex", "set pagination off", "-x", "frames.py"};
  for (const std::string& command : commands) {
    args.push_back("-ex");
    args.push_back(command);
  }
  args.push_back("--args");
  args.insert(args.end(), program.begin(), program.end());
  DebuggerRun run;
  run.child = test_support::RunChild(args, {.environment = environment, .dropInherited = {"BOXWRIGHT_"}});
  for (const std::string& line : test_support::Lines(run.child.output, "\n")) {
    if (line.rfind("FRAME ", 0) != 0) continue;
    std::size_t bar = line.find('|'), second = line.find('|', bar + 1);
    run.frames.push_back({std::stoull(line.substr(6, bar - 6), nullptr, 16), line.substr(second + 1),
                          line.substr(bar + 1, second - bar - 1)});
  }
  return run;
}

void ExpectTraceAgrees(const std::string& report, const std::vector<DebuggerFrame>& frames, bool raisedByCall) {
  const std::vector<ReportLevel> levels = ReportLevels(report);
  ASSERT_GE(levels.size(), 2u) << "no caller in the trace:\n" << report;
  std::size_t first = 0;  // the debugger's frame of level 1
  while (first < frames.size() && frames[first].pc != levels[1].pc) ++first;
  ASSERT_TRUE(first > 0 && first < frames.size()) << "level 1 is no frame of the debugger's:\n" << report;

  const DebuggerFrame& start = frames[first - 1];
  constexpr std::uint64_t kCallLength = 5;
  EXPECT_EQ(levels[0].pc, raisedByCall ? start.pc - kCallLength : start.pc) << levels[0].text;
  ExpectLevelAgrees(levels[0], start);
  for (std::size_t n = 1; n < levels.size(); ++n) {
    SCOPED_TRACE("level " + std::to_string(n));
    ASSERT_LT(first + n - 1, frames.size()) << "beyond the debugger's frames:\n" << report;
    const DebuggerFrame& frame = frames[first + n - 1];
    EXPECT_EQ(levels[n].pc, frame.pc) << levels[n].text << " against the debugger's " << frame.name;
    ExpectLevelAgrees(levels[n], frame);
  }
  // The walk reports every frame but the outermost, which nothing called, unless it stopped
  // at its 31 levels.
  if (report.find("Stack Trace stopped, too many levels") == std::string::npos) {
    EXPECT_EQ(first - 1 + levels.size() + 1, frames.size()) << report;
  }
}

}  // namespace crashtest
