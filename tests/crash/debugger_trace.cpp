#include "tests/crash/debugger_trace.h"

#include <cxxabi.h>
#include <gtest/gtest.h>

#include <cstdlib>

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
        shown = 0  # inlined frames shown for the physical frame being read
        while frame is not None and count < 48:
            sal = frame.find_sal()
            place = "%s|%d" % (sal.symtab.fullname() if sal.symtab else "", sal.line)
            if frame.type() == gdb.INLINE_FRAME:
                print("INLINED %s|%s" % (frame.name() or "", place))
                shown += 1
            elif frame.type() != gdb.TAILCALL_FRAME:
                library = gdb.solib_name(frame.pc()) or ""
                symbols = ""
                if library:
                    symbols = "|".join(gdb.execute("info symbol 0x%x" % at, to_string=True).strip().replace("|", " ")
                                       for at in (frame.pc(), frame.pc() - 1))
                # Stopped where inlined code begins, gdb shows the frame as if the calls had not
                # been made yet: its place is then none that the records could agree with.
                hidden = 0
                if count == shown and not library:
                    block = gdb.block_for_pc(frame.pc())
                    while block is not None:
                        hidden += 1 if block.function is not None else 0
                        block = block.superblock
                    hidden = max(0, hidden - 1 - shown)
                print("FRAME %x|%s|%s|%s|%d|%s" % (frame.pc(), library, frame.name() or "", place, hidden, symbols))
                shown = 0
            frame = frame.older()
            count += 1

ReportFrames()
)";

struct ReportLevel {
  std::uint64_t pc = 0;
  std::string text;                  // the symbol text
  std::vector<std::string> inlined;  // the symbol texts of the inlined calls under it
};

// Level 0 from the error-address line, then each "[nn] ADDRESSh \t..." line, with the
// "\tinlined ..." lines that follow each.
std::vector<ReportLevel> ReportLevels(const std::string& report) {
  std::vector<ReportLevel> levels;
  const std::string errorLine = "Error at address : ", inlinedLine = "\tinlined ";
  bool inLevel = false;
  for (const std::string& line : test_support::Lines(report)) {
    if (line.rfind(errorLine, 0) == 0) {
      levels.push_back({std::stoull(line.substr(errorLine.size(), 16), nullptr, 16), line.substr(errorLine.size() + 19), {}});
      inLevel = true;
    } else if (line.size() > 24 && line[0] == '[' && line[3] == ']' && !levels.empty()) {
      levels.push_back({std::stoull(line.substr(5, 16), nullptr, 16), line.substr(24), {}});
      inLevel = true;
    } else if (inLevel && line.rfind(inlinedLine, 0) == 0) {
      levels.back().inlined.push_back(line.substr(inlinedLine.size()));
    } else {
      inLevel = false;
    }
  }
  return levels;
}

// The number after "Line=" (or "Line ?=") at the text's start; 0 without one.
int LineOf(const std::string& text) {
  for (const std::string label : {"Line=", "Line ?="})
    if (text.rfind(label, 0) == 0) return std::atoi(text.c_str() + label.size());
  return 0;
}

// The source a symbol text names: the rest after "Src=" up to the module item, if any.
std::string SourceOf(const std::string& text) {
  auto at = text.find("Src=");
  if (at == std::string::npos) return "";
  at += 4;
  return text.substr(at, std::min(text.find("  ", at), text.find(" \t", at)) - at);
}

// The records name a source below the source root relatively; the debugger by its full path.
bool SourcesAgree(const std::string& records, const std::string& debugger) {
  return !records.empty() && (records == debugger || debugger.ends_with("/" + records));
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

// A place the records name (procedure, line, source) against the debugger's.
void ExpectPlaceAgrees(const std::string& text, const std::string& procedure, const DebuggerPlace& place) {
  EXPECT_TRUE(NamesAgree(procedure, place.name)) << procedure << " against the debugger's " << place.name;
  if (place.line == 0) return;
  EXPECT_EQ(LineOf(text), place.line) << text << " against the debugger's " << place.file << ":" << place.line;
  EXPECT_TRUE(SourcesAgree(SourceOf(text), place.file)) << text << " against the debugger's " << place.file;
}

// "NAME + 12 in section .text of FILE" (or "NAME in section ..."): the name and the offset.
bool ParseInfoSymbol(const std::string& text, std::string& name, std::uint64_t& offset) {
  const std::size_t section = text.find(" in section ");
  if (section == std::string::npos) return false;
  name = text.substr(0, section);
  offset = 0;
  if (std::size_t plus = name.rfind(" + "); plus != std::string::npos) {
    offset = std::stoull(name.substr(plus + 3));
    name.resize(plus);
  }
  return true;
}

// A library level's "Symbol=NAME+OFFh" against the debugger's symbol of the same address: the
// same where the debugger names an exported procedure; else (it knows the library's own local
// names too) an exported one at or below the debugger's.
void ExpectLibrarySymbolAgrees(const std::string& text, const std::string& infoSymbol) {
  std::string debuggerName;
  std::uint64_t debuggerOffset = 0;
  if (!ParseInfoSymbol(infoSymbol, debuggerName, debuggerOffset)) return;
  const std::size_t at = text.find(" Symbol=");
  ASSERT_NE(at, std::string::npos) << text << " against the debugger's " << infoSymbol;
  const std::size_t plus = text.find('+', at);
  const std::string mangled = text.substr(at + 8, plus - at - 8);
  const std::uint64_t offset = std::stoull(text.substr(plus + 1), nullptr, 16);
  int status = 0;
  char* plain = abi::__cxa_demangle(mangled.c_str(), nullptr, nullptr, &status);
  const std::string name = status == 0 ? plain : mangled;
  std::free(plain);
  if (name == debuggerName) EXPECT_EQ(offset, debuggerOffset) << text << " against the debugger's " << infoSymbol;
  else EXPECT_GE(offset, debuggerOffset) << text << " against the debugger's " << infoSymbol;
}

void ExpectLevelAgrees(const ReportLevel& level, const DebuggerFrame& frame, bool looksBefore) {
  const std::string procedure = ProcedureOf(level.text);
  if (!procedure.empty()) {
    ExpectPlaceAgrees(level.text, procedure, {frame.name, frame.place.file, frame.place.line});
    EXPECT_EQ(frame.library, "") << level.text;
    if (frame.callsHidden) return;
    ASSERT_EQ(level.inlined.size(), frame.inlined.size()) << level.text << "\nagainst the debugger's inlined frames";
    for (std::size_t i = 0; i < level.inlined.size(); ++i) {
      SCOPED_TRACE("inlined call " + std::to_string(i));
      ExpectPlaceAgrees(level.inlined[i], ProcedureOf(level.inlined[i]), frame.inlined[i]);
    }
  } else if (level.text.rfind("no debug info, Module=", 0) == 0) {
    // The library's path, then where in it: its nearest exported procedure and the file's offset.
    EXPECT_EQ(level.text.substr(22, level.text.find(' ', 22) - 22), frame.library);
    EXPECT_NE(level.text.find(" Offset="), std::string::npos) << level.text;
    ExpectLibrarySymbolAgrees(level.text, looksBefore ? frame.symbolBefore : frame.symbolAt);
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
  // gdb lists a physical frame's inlined calls before it, the innermost first.
  std::vector<DebuggerPlace> inlined;
  for (const std::string& line : test_support::Lines(run.child.output, "\n")) {
    const bool isFrame = line.rfind("FRAME ", 0) == 0;
    if (!isFrame && line.rfind("INLINED ", 0) != 0) continue;
    std::vector<std::string> fields = test_support::Lines(line.substr(line.find(" ") + 1), "|");
    if (!isFrame) {
      if (fields.size() == 3) inlined.insert(inlined.begin(), {fields[0], fields[1], std::atoi(fields[2].c_str())});
      continue;
    }
    if (fields.size() < 6) continue;
    fields.resize(8);
    const bool callsHidden = std::atoi(fields[5].c_str()) > 0;
    run.frames.push_back({std::stoull(fields[0], nullptr, 16), fields[2], fields[1],
                          {fields[2], fields[3], callsHidden ? 0 : std::atoi(fields[4].c_str())},
                          std::move(inlined), fields[6], fields[7], callsHidden});
    inlined.clear();
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
  ExpectLevelAgrees(levels[0], start, false);
  for (std::size_t n = 1; n < levels.size(); ++n) {
    SCOPED_TRACE("level " + std::to_string(n));
    ASSERT_LT(first + n - 1, frames.size()) << "beyond the debugger's frames:\n" << report;
    const DebuggerFrame& frame = frames[first + n - 1];
    EXPECT_EQ(levels[n].pc, frame.pc) << levels[n].text << " against the debugger's " << frame.name;
    // A caller's level is looked up a byte before its return address, inside the call.
    ExpectLevelAgrees(levels[n], frame, true);
  }
  // The walk reports every frame but the outermost, which nothing called, unless it stopped
  // at its 31 levels.
  if (report.find("Stack Trace stopped, too many levels") == std::string::npos) {
    EXPECT_EQ(first - 1 + levels.size() + 1, frames.size()) << report;
  }
}

}  // namespace crashtest
