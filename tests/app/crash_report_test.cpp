// The librarian's crash reporter: a fault right after start-up is reported with the
// application's settings, appended to "Faultscribe.log" in the current folder.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/midi/midi_in.h"
#include "tests/crash/debugger_trace.h"
#include "tests/crash/mail_url.h"
#include "tests/crash/program_line.h"
#include "tests/support/child_program.h"
#include "tests/support/file_text.h"
#include "tests/support/private_desktop.h"
#include "toolkit/system_info.h"

namespace {

using test_support::FileText;

test_support::ChildRun RunFaultingLibrarian(const std::string& answer = "OK") {
  std::ofstream("script.txt") << "answer message \"" << answer << "\"\n";
  return test_support::RunChild({FAULTING_LIBRARIAN},
                                {.environment = {"BOXWRIGHT_SCREEN=script", "BOXWRIGHT_SCRIPT=script.txt",
                                                 "BOXWRIGHT_TRANSCRIPT=transcript.jsonl"}});
}

TEST(LibrarianCrashReport, TwoFaultsInTwoRunsLeaveBothReportsWithTheHostAndUserNames) {
  for (int run = 0; run < 2; ++run) {
    EXPECT_EQ(RunFaultingLibrarian().status, 139);
  }
  std::string log = FileText("Faultscribe.log");
  std::string report = std::string(82, '-') + "\r\n" + crashtest::ProgramLine(FAULTING_LIBRARIAN) + "\r\n";
  std::size_t second = log.find("\r\n\r\n" + report);
  ASSERT_NE(second, std::string::npos) << log;
  EXPECT_EQ(log.find("\r\n\r\n" + report), 0u);  // appended from the first report on
  std::string workstation = "\r\nWorkstation: : " + kx_GetWorkstationName() + "\r\n";
  std::string user = "\r\nUser Name: : " + kx_GetUserName() + "\r\n";
  for (std::size_t start : {std::size_t{0}, log.find("\r\n\r\n" + report, 4)}) {
    ASSERT_NE(start, std::string::npos);
    std::string one = log.substr(start, log.find("\r\n\r\n", start + 4) - start);
    EXPECT_NE(one.find(workstation), std::string::npos) << one;
    EXPECT_NE(one.find(user), std::string::npos) << one;
    EXPECT_NE(one.find("\r\nReported error : EXCEPTION_ACCESS_VIOLATION - Error reading data at : 0000000000000000h"),
              std::string::npos);
    // The program file carries its debug records: the fault and its callers are named.
    // Stack words that look like return addresses may stand between the heading and the first
    // level (a sanitizer's frames hold many), so the first level is found by its number.
    std::size_t trace = one.find("\r\nStack Trace\r\n");
    ASSERT_NE(trace, std::string::npos) << one;
    std::size_t first = one.find("\r\n[01] ", trace);
    ASSERT_NE(first, std::string::npos) << one;
    EXPECT_NE(one.substr(first, one.find("\r\n", first + 2) - first).find("Proc=deliberate::NullRead"),
              std::string::npos)
        << one;
  }
  // The box of each run, captioned with the empty window title.
  std::string transcript = FileText("transcript.jsonl");
  EXPECT_NE(transcript.find("\"caption\": \"\", \"text\": \"This program has performed an illegal operation and will "
                            "now end.\""),
            std::string::npos)
      << transcript;
}

TEST(LibrarianCrashReport, EmailReportHandsTheReportToTheMailProgram) {
  test_support::PrivateDesktop desktop({"mailto"}, MAIL_RECORDER_PATH);
  desktop.RecordClipboard();  // in case the report goes that way

  EXPECT_EQ(RunFaultingLibrarian("Email Report").status, 139);
  auto links = test_support::PrivateDesktop::WaitForRecords(desktop.Received(), 1);
  ASSERT_EQ(links.size(), 1u);
  auto link = mailtest::SplitMailLink(links[0]);
  EXPECT_EQ(link.recipient, "The developer <" BOXWRIGHT_CRASH_RECIPIENT ">");
  EXPECT_EQ(link.subject, "GPF in ");

  std::string log = FileText("Faultscribe.log");
  std::string report = log.substr(log.find("Program : "));
  std::string body = mailtest::PercentDecoded(link.body);
  if (std::filesystem::exists(desktop.Clipboard())) {
    EXPECT_EQ(FileText(desktop.Clipboard()), report + "\r\n[END]");
    EXPECT_EQ(body, "Edit|Paste the report here (CTL+V) or attach the logfile.\r\nFaultscribe.log\r\n[END]");
  } else {
    EXPECT_EQ(body, report + "\r\n[END]");
  }
}

// The librarian itself, connected to the simulated unit: when its first reply reaches the
// MIDI input thread, the debugger makes the instruction that thread runs next a read through
// a null pointer ("mov 0, %eax"). The report traces that thread as the debugger does.
TEST(LibrarianCrashReport, AFaultOnTheMidiInputThreadIsTracedAsTheDebuggerSeesIt) {
  setenv("BOXWRIGHT_SIMULATOR", "1", 1);
  const std::string unit = std::to_string(midiInGetNumDevs());  // the simulated unit's row: the last
  test_support::WriteFileText("script.txt", "select INDEVICELIST " + unit + "\nselect OUTDEVICELIST " + unit +
                                                "\npress CONNECTBUTTON\nwait 3\nanswer message \"OK\"\n");
  crashtest::DebuggerRun run = crashtest::RunUnderDebugger(
      {BOXWRIGHT_EXE},
      {"BOXWRIGHT_SIMULATOR=1", "BOXWRIGHT_SCREEN=script", "BOXWRIGHT_SCRIPT=script.txt",
       "BOXWRIGHT_TRANSCRIPT=transcript.jsonl"},
      {"break midi::InputConnection::Take", "run", "delete", "set *(unsigned int*)$pc = 0x0025048b",
       "set *(unsigned int*)($pc + 3) = 0", "continue", "report-frames", "continue"});
  ASSERT_FALSE(run.frames.empty()) << run.child.output << run.child.errors;
  const std::string log = FileText("Faultscribe.log");
  EXPECT_NE(log.find("\r\nReported error : EXCEPTION_ACCESS_VIOLATION - Error reading data at : 0000000000000000h"),
            std::string::npos)
      << log;
  EXPECT_NE(log.find("Proc=midi::InputConnection::Take"), std::string::npos) << log;
  crashtest::ExpectTraceAgrees(log, run.frames, false);
}

}  // namespace
