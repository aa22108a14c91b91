// The report text as the fault sequence builds it, line by line, and the operations it is
// made of. In process: the records are made by hand.
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "crash/faultscribe.h"
#include "crash/report/faultscribe_report.h"
#include "crash/report/prepared_texts.h"
#include "crash/report/report_pictures.h"
#include "tests/crash/program_line.h"
#include "tests/support/file_text.h"
#include "tests/support/own_path.h"

namespace {

using test_support::Lines;
using test_support::OwnPath;

using test_support::FileText;

struct Fault {
  EXCEPTION_RECORD record{};
  CONTEXT context{};
  EXCEPTION_POINTERS pointers{&record, &context};
};

// A reporter ready to write, as construction and the sequence leave it before the report.
struct Reporter : FaultscribeClass {
  Reporter() {
    crash::PrepareFaultPath();
    Workstation = "bench-7";
    UserName = "ada";
    VersionNumber = "1.1.0";
    _SetFileNames();
    _InitReportText();
  }
};

std::vector<std::string> ReportLines(Reporter& reporter, Fault& fault, crash::FaultFacts facts = {}) {
  facts.pointers = &fault.pointers;
  if (facts.today == 0) facts.today = 61730 + 20454;  // 1 January 2026
  if (facts.clock == 0) facts.clock = 12 * 360000 + 34 * 6000 + 56 * 100 + 1;
  static crash::ReportText report;
  crash::BuildReport(reporter, facts, report);
  return Lines(std::string(report.View()));
}

TEST(ReportText, HeaderLinesAndTheAccessViolationLine) {
  Reporter reporter;
  Fault fault;
  fault.record.ExceptionCode = EXCEPTION_ACCESS_VIOLATION;
  fault.record.ExceptionAddress = reinterpret_cast<void*>(0x401000);
  fault.record.NumberParameters = 2;
  fault.record.ExceptionInformation[0] = 1;
  fault.record.ExceptionInformation[1] = 0x7FFF12345678;
  auto lines = ReportLines(reporter, fault, {nullptr, 0, 0, 3, 6, 1, 0});
  ASSERT_GE(lines.size(), 12u);
  EXPECT_EQ(lines[0], "");
  EXPECT_EQ(lines[1], std::string(200, '-'));
  EXPECT_EQ(lines[2], crashtest::ProgramLine(OwnPath()));
  EXPECT_EQ(lines[3], "Version : 1.1.0");
  EXPECT_EQ(lines[4], "At : 12:34:56 on 2026/01/01");
  EXPECT_EQ(lines[5], "Workstation: : bench-7");
  EXPECT_EQ(lines[6], "User Name: : ada");
  EXPECT_EQ(lines[7], "Reported error : EXCEPTION_ACCESS_VIOLATION - Error writing data at : 00007FFF12345678h");
  EXPECT_EQ(lines[8].rfind("Windows : Linux ", 0), 0u) << lines[8];
  EXPECT_EQ(lines[9], "Boxwright runtime : 1.1");
  EXPECT_EQ(lines[10], "Thread : 3 \tField : 6 \tEvent : 1 \tKeycode : 0");
  EXPECT_EQ(lines[11], "Error at address : 0000000000401000h  no module");
  // The debug-help library is offered only by Construct, which this reporter never ran.
  ASSERT_EQ(lines.size(), 14u);
  EXPECT_EQ(lines[12], "Please copy DBGHELP.DLL into the application directory.");
}

// Each step of the report begins after the text so far without its trailing blanks: a blank
// value leaves its label and the separator's colon, and nothing after it.
TEST(ReportText, ABlankValueLeavesNoBlankAtTheEndOfItsLine) {
  Reporter reporter;
  reporter.VersionNumber = "";
  reporter.Workstation = "";
  reporter.UserName = "   ";
  Fault fault;
  fault.record.ExceptionCode = EXCEPTION_ACCESS_VIOLATION;
  auto lines = ReportLines(reporter, fault);
  ASSERT_GE(lines.size(), 7u);
  EXPECT_EQ(lines[3], "Version :");
  EXPECT_EQ(lines[5], "Workstation: :");
  EXPECT_EQ(lines[6], "User Name: :");
}

TEST(ReportText, ErrorLinesOfEachKindOfFault) {
  struct Case {
    const char* name;
    DWORD code;
    DWORD flags;
    std::vector<ULONG_PTR> parameters;
    std::vector<std::string> expected;
  };
  const std::vector<Case> cases = {
      {"read", EXCEPTION_ACCESS_VIOLATION, 0, {0, 0}, {"Reported error : EXCEPTION_ACCESS_VIOLATION - Error reading data at : 0000000000000000h"}},
      {"division", EXCEPTION_INT_DIVIDE_BY_ZERO, 0, {},
       {"Reported error : EXCEPTION_INT_DIVIDE_BY_ZERO", " : Flags=00000000 Except2=0000000000000000"}},
      {"parameters", EXCEPTION_IN_PAGE_ERROR, 0, {0, 0x1000, 0xC000009C},
       {"Reported error : EXCEPTION_IN_PAGE_ERROR",
        " : Flags=00000000 Except2=0000000000000000 [1]=0000000000000000 [2]=0000000000001000 [3]=00000000C000009C"}},
      {"unknown", 0x40000015, 1, {},
       {"Reported error : Unknown ExceptionCode=40000015h", " : Flags=00000001 Except2=0000000000000000"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Reporter reporter;
    Fault fault;
    fault.record.ExceptionCode = c.code;
    fault.record.ExceptionFlags = c.flags;
    fault.record.NumberParameters = static_cast<DWORD>(c.parameters.size());
    for (std::size_t i = 0; i < c.parameters.size(); ++i) fault.record.ExceptionInformation[i] = c.parameters[i];
    auto lines = ReportLines(reporter, fault);
    ASSERT_GE(lines.size(), 7 + c.expected.size());
    for (std::size_t i = 0; i < c.expected.size(); ++i) EXPECT_EQ(lines[7 + i], c.expected[i]);
    EXPECT_EQ(lines[7 + c.expected.size()].rfind("Windows : ", 0), 0u);
  }
}

TEST(ReportText, ExtraInfoRegistersAndReportTextWhenAsked) {
  Reporter reporter;
  reporter.TextForExtraInfo = "Extra";
  reporter.ShowDetails = 1;
  reporter.ReportText = "Seen while uploading";
  Fault fault;
  fault.record.ExceptionCode = EXCEPTION_BREAKPOINT;
  fault.context.Rax = 0x1;
  fault.context.Rsp = 0x7FFC00001000;
  fault.context.R15 = 0xF;
  auto lines = ReportLines(reporter, fault);
  EXPECT_EQ(lines[8], "Extra : Flags=00000000 Except2=0000000000000000");
  ASSERT_EQ(lines.size(), 20u);
  EXPECT_EQ(lines[13], "RAX=0000000000000001h RBX=0000000000000000h RCX=0000000000000000h RDX=0000000000000000h");
  EXPECT_EQ(lines[14], "RDI=0000000000000000h RSI=0000000000000000h RBP=0000000000000000h RSP=00007FFC00001000h");
  EXPECT_EQ(lines[15], "R8=0000000000000000h R9=0000000000000000h R10=0000000000000000h R11=0000000000000000h");
  EXPECT_EQ(lines[16], "R12=0000000000000000h R13=0000000000000000h R14=0000000000000000h R15=000000000000000Fh");
  EXPECT_EQ(lines[17], "Please copy DBGHELP.DLL into the application directory.");
  EXPECT_EQ(lines[19], "Seen while uploading");
}

TEST(ReportText, MessagesLeftOnTheFaultingStack) {
  struct Case {
    const char* name;
    std::size_t at;
    const char* text;
    std::size_t frame;
    const char* expected;  // the line after the thread line; "" for none
  };
  const std::vector<Case> cases = {
      {"assertion", 60, "Assertion failed: x", 200, "Assert String : Assertion failed: x"},
      {"index", 44, "Index out of range: 9 of 2", 200, "Runtime Message : Index out of range: 9 of 2"},
      {"other text", 44, "Nothing to see", 200, ""},
      {"frame too small", 60, "Assertion failed: y", 70, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<char> frame(256, '\0');
    std::memcpy(frame.data() + c.at, c.text, std::strlen(c.text));
    Reporter reporter;
    Fault fault;
    fault.record.ExceptionCode = EXCEPTION_FATAL_APP_EXIT;
    fault.context.Rsp = reinterpret_cast<ULONG_PTR>(frame.data());
    fault.context.Rbp = fault.context.Rsp + c.frame;
    auto lines = ReportLines(reporter, fault);
    std::string next = lines[12];
    if (std::string(c.expected).empty()) {
      EXPECT_EQ(next.rfind("Error at address", 0), 0u) << next;
    } else {
      EXPECT_EQ(next, c.expected);
    }
  }
}

TEST(ReportText, ABadStackPointerNeverFaultsTheReporter) {
  void* page = mmap(nullptr, 4096, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  ASSERT_NE(page, MAP_FAILED);
  FaultscribeClass reporter;
  for (ULONG_PTR sp : {ULONG_PTR{8}, reinterpret_cast<ULONG_PTR>(page), ~ULONG_PTR{0} - 100}) {
    EXPECT_EQ(reporter._GetAssert(sp, sp + 200), 0u);
    EXPECT_EQ(reporter._GetOtherMessage(sp, sp + 200), 0u);
  }
  munmap(page, 4096);
}

TEST(ReportText, ExceptionNamesAndUnknownCodes) {
  FaultscribeClass reporter;
  const std::vector<std::pair<ULONG, std::string>> cases = {
      {0xC0000005, "EXCEPTION_ACCESS_VIOLATION"},  {0x80000002, "EXCEPTION_DATATYPE_MISALIGNMENT"},
      {0xC0000094, "EXCEPTION_INT_DIVIDE_BY_ZERO"}, {0xC00000FD, "EXCEPTION_STACK_OVERFLOW"},
      {0xC0000008, "EXCEPTION_INVALID_HANDLE"},     {0xE06D7363, "Unknown ExceptionCode=E06D7363h"},
      {0, "Unknown ExceptionCode=00000000h"},
  };
  for (const auto& [code, name] : cases) EXPECT_EQ(reporter._LookupExceptionCode(code).View(), name);
}

TEST(ReportText, BlankTextsTakeTheirDefaultsAndSetOnesStay) {
  FaultscribeClass reporter;
  reporter.TextForProgram = "Programm";
  reporter._InitReportText();
  EXPECT_EQ(reporter.TextForProgram.Clipped(), "Programm");
  EXPECT_EQ(reporter.TextForMessage1.Clipped(), "This program has performed an illegal operation and will now end.");
  EXPECT_EQ(reporter.TextForWorkstation.Clipped(), "Workstation:");
  EXPECT_EQ(reporter.DateFormat.Clipped(), "@d10");
  EXPECT_EQ(reporter.TextForPasteInstructions.Clipped(), "Edit|Paste the report here (CTL+V) or attach the logfile.");
  EXPECT_EQ(reporter.TextForExtraInfo.Clipped(), "");

  FaultscribeClass restarting;
  restarting.RestartProgram = 1;
  restarting._InitReportText();
  EXPECT_EQ(restarting.TextForMessage2.Clipped(),
            "This program has performed an illegal operation and will now be restarted.");
}

TEST(ReportText, FileNamesComeFromTheProgramsWholePath) {
  FaultscribeClass reporter;
  reporter._SetFileNames();
  std::string program = OwnPath();
  EXPECT_EQ(reporter.FileName.Clipped(), program.substr(0, 160));
  EXPECT_EQ(reporter.DumpFileName.Clipped(), program + " Faultscribe report.txt");
  EXPECT_EQ(reporter.DebugLogFileName.Clipped(), program + " DebugLog.txt");
  EXPECT_EQ(reporter.DebugEmailFileName.Clipped(), program + " DebugEmail.txt");

  FaultscribeClass named;
  named.DumpFileName = "Faultscribe.log";
  named.DebugLogFileName = "mine.txt";
  named._SetFileNames();
  EXPECT_EQ(named.DumpFileName.Clipped(), "Faultscribe.log");
  EXPECT_EQ(named.DebugLogFileName.Clipped(), program + " DebugLog.txt");
}

TEST(ReportText, TheFileTakesTheReportFromItsHundredAndTwentyFirstCharacter) {
  crash::ReportText report;
  report.Append("\r\n").Append(std::string(200, '-')).Append("\r\nProgram : x   ");
  std::string_view file = crash::ReportFileText(report);
  EXPECT_EQ(file, std::string(82, '-') + "\r\nProgram : x");
}

TEST(ReportText, TheTraceLogIsWrittenOnlyWhenEnabled) {
  FaultscribeClass reporter;
  reporter.DebugLogFileName = "trace.log";
  reporter._DebugLog("GPF occurred", 1);
  EXPECT_FALSE(std::filesystem::exists("trace.log"));
  reporter.DebugLogEnabled = 1;
  reporter._DebugLog("old", 0);
  reporter._DebugLog("GPF occurred   ", 1);
  reporter._DebugLog("DebugReport 1", 0);
  EXPECT_EQ(FileText("trace.log"), "GPF occurred\r\nDebugReport 1\r\n");
}

TEST(ReportText, LinePositionsCountCarriageReturns) {
  FaultscribeClass reporter;
  std::string text = "a\r\nbc\r\nd";
  EXPECT_EQ(reporter._FindLinePosition(text, 1), 1);
  EXPECT_EQ(reporter._FindLinePosition(text, 2), 5);
  EXPECT_EQ(reporter._FindLinePosition(text, 3), 0);
  EXPECT_EQ(reporter._FindLinePosition("", 1), 0);
}

TEST(ReportText, TimeAndDatePictures) {
  const LONG clock = 9 * 360000 + 5 * 6000 + 7 * 100 + 1;  // 09:05:07
  const LONG today = 61730 + 20454 + 40;                   // 10 February 2026
  const std::vector<std::pair<std::string, std::string>> dates = {
      {"@d10", "2026/02/10"}, {"@D2", "02/10/2026"}, {"@d1", "02/10/26"}, {"@d6", "10/02/2026"},
      {"@d5", "10/02/26"},    {"@d9", "26/02/10"},   {"@d11", "260210"},  {"@d12", "20260210"},
      {"@d10   ", "2026/02/10"}, {"@x3", "2026/02/10"},
  };
  for (const auto& [picture, expected] : dates) {
    crash::BoundedText<64> text;
    crash::AppendDate(text, today, picture);
    EXPECT_EQ(text.View(), expected) << picture;
  }
  crash::BoundedText<64> time;
  crash::AppendTime(time, clock, "t4");
  EXPECT_EQ(time.View(), "09:05:07");
  crash::BoundedText<64> shortTime;
  crash::AppendTime(shortTime, clock, "@T1");
  EXPECT_EQ(shortTime.View(), "09:05");
}

}  // namespace
