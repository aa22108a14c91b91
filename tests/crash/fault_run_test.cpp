// Faults in a child process (the fault program) reach the reporter: the report file line by
// line, the boxes of the presenting process in the scripted screen's transcript, the exit
// status, and no allocation from the signal to the written report.
#include <gtest/gtest.h>
#include <signal.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "crash/present/presenter_channel.h"
#include "tests/crash/fault_run.h"
#include "mail_url.h"
#include "tests/crash/program_line.h"
#include "tests/support/child_program.h"
#include "tests/support/file_text.h"
#include "tests/support/private_desktop.h"
#include "tests/support/short_folder.h"

namespace {

namespace fs = std::filesystem;

using crashtest::ExitStatus;
using crashtest::FaultOutcome;
using crashtest::Lines;
using test_support::FileText;

std::size_t Count(const std::string& text, const std::string& part) {
  std::size_t n = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

// Runs the fault program in the current folder with the scripted screen; `script` lines
// answer the boxes.
FaultOutcome RunFault(const std::string& fault, std::vector<std::string> settings = {}, const std::string& script = "",
                      const std::string& program = FAULT_PROGRAM) {
  FaultOutcome run = crashtest::Run({.fault = fault, .settings = std::move(settings), .script = script, .program = program});
  EXPECT_TRUE(run.child.started) << program;
  return run;
}

std::string Line(const FaultOutcome& run, const std::string& label) {
  for (const std::string& line : Lines(run.report)) {
    if (line.rfind(label, 0) == 0) return line;
  }
  return "(no line " + label + ")";
}

TEST(FaultRun, EachFaultIsReportedOnceWithoutAllocatingAndEndsWithItsSignal) {
  struct Case {
    std::string fault;
    int status;
    std::vector<std::pair<std::string, std::string>> lines;  // label, whole line ("..." ends a beginning)
  };
  const std::vector<Case> cases = {
      {"nullread", 139,
       {{"Reported error", "Reported error : EXCEPTION_ACCESS_VIOLATION - Error reading data at : 0000000000000000h"}}},
      {"divzero", 136,
       {{"Reported error", "Reported error : EXCEPTION_INT_DIVIDE_BY_ZERO"},
        {" : Flags", " : Flags=00000000 Except2=0000000000000000"}}},
      {"illegal", 132, {{"Reported error", "Reported error : EXCEPTION_ILLEGAL_INSTRUCTION"}}},
      {"abort", 134,
       {{"Reported error", "Reported error : Unknown ExceptionCode=40000015h"},
        {" : Flags", " : Flags=00000001 Except2=0000000000000000"}}},
      {"overflow", 139, {{"Reported error", "Reported error : EXCEPTION_STACK_OVERFLOW"}}},
      {"assertion", 134,
       {{"Reported error", "Reported error : Unknown ExceptionCode=40000015h"},
        {"Assert String", "Assert String : Assertion failed: 1 + 1 == 3, file ..."}}},
      {"index", 134,
       {{"Reported error", "Reported error : EXCEPTION_ARRAY_BOUNDS_EXCEEDED"},
        {"Runtime Message", "Runtime Message : Index out of range: 7 of 3"}}},
      {"exception", 134,
       {{"Reported error", "Reported error : EXCEPTION_ARRAY_BOUNDS_EXCEEDED"},
        {"Runtime Message", "Runtime Message : Index out of range: ..."}}},
      {"thread", 139,
       {{"Reported error", "Reported error : EXCEPTION_ACCESS_VIOLATION - Error reading data at : 0000000000000000h"}}},
#if !defined(__SANITIZE_ADDRESS__)  // the sanitizer stops a double free itself
      {"doublefree", 134, {{"Reported error", "Reported error : Unknown ExceptionCode=40000015h"}}},
#endif
      {"lockedruntime", 139,
       {{"Reported error", "Reported error : EXCEPTION_ACCESS_VIOLATION - Error reading data at : 0000000000000000h"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fault);
    fs::remove("Faultscribe.log");
    FaultOutcome run = RunFault(c.fault, {"CloseQuietly=1"});
    EXPECT_EQ(ExitStatus(run), c.status);  // 99 would be an allocation on the fault path
    EXPECT_EQ(Count(run.report, "Reported error"), 1u);
    EXPECT_EQ(run.report.rfind(std::string(82, '-') + "\r\n" + crashtest::ProgramLine(FAULT_PROGRAM) + "\r\n", 0), 0u);
    for (const auto& [label, line] : c.lines) {
      std::string found = Line(run, label);
      if (line.ends_with("...")) {
        EXPECT_EQ(found.substr(0, line.size() - 3), line.substr(0, line.size() - 3));
      } else {
        EXPECT_EQ(found, line);
      }
    }
    EXPECT_EQ(run.transcript, "");
  }
}

TEST(FaultRun, AWriteNamesTheAddressWritten) {
  FaultOutcome run = RunFault("readonlywrite", {"CloseQuietly=1"});
  EXPECT_EQ(ExitStatus(run), 139);
  std::string address = Lines(run.child.output, "\n").at(0).substr(2);  // "0x..." as printed
  while (address.size() < 16) address = "0" + address;
  for (char& c : address) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  EXPECT_EQ(Line(run, "Reported error"),
            "Reported error : EXCEPTION_ACCESS_VIOLATION - Error writing data at : " + address + "h");
}

TEST(FaultRun, ASignalSentByAnotherProcessNamesTheSenderRatherThanAnAddress) {
  FaultOutcome run = RunFault("sent", {"CloseQuietly=1"});
  EXPECT_EQ(ExitStatus(run), 139);
  const std::string sender = Lines(run.child.output, "\n").at(0);
  EXPECT_EQ(Line(run, "Reported error"), "Reported error : EXCEPTION_ACCESS_VIOLATION - Signal sent by process " +
                                             sender + ", not caused by an instruction");
}

TEST(FaultRun, TwoThreadsFaultingTogetherGiveOneReport) {
  FaultOutcome run = RunFault("twothreads", {"CloseQuietly=1"});
  EXPECT_EQ(ExitStatus(run), 139);
  EXPECT_EQ(Count(run.report, "Reported error"), 1u);
}

TEST(FaultRun, ADisabledReporterLeavesTheFaultToTheSystem) {
  FaultOutcome run = RunFault("nullread", {"Disable=1"});
  ASSERT_TRUE(run.child.signalled);
  EXPECT_EQ(run.child.status, 128 + SIGSEGV);
  EXPECT_FALSE(fs::exists("Faultscribe.log"));
}

TEST(FaultRun, AFilteredCodeIsSkippedButALaterFaultAndANonContinuableOneAreReported) {
  FaultOutcome later = RunFault("refault", {"CloseQuietly=1", "IgnoreCode=80000003"});
  EXPECT_EQ(ExitStatus(later), 136);
  EXPECT_EQ(Count(later.report, "Reported error"), 1u);
  EXPECT_EQ(Line(later, "Reported error"), "Reported error : EXCEPTION_INT_DIVIDE_BY_ZERO");

  fs::remove("Faultscribe.log");
  FaultOutcome abort = RunFault("abort", {"CloseQuietly=1", "IgnoreCode=40000015"});
  EXPECT_EQ(ExitStatus(abort), 134);
  EXPECT_EQ(Line(abort, "Reported error"), "Reported error : Unknown ExceptionCode=40000015h");
}

TEST(FaultRun, TheBoxesFollowTheAnswers) {
  struct Case {
    std::string name;
    std::vector<std::string> settings;
    std::string script;
    std::vector<std::string> answers;  // the boxes shown, by their answers, in order
    bool mailed = false;
  };
  const std::vector<Case> cases = {
      {"OK in the first box", {}, "answer message \"OK\"\n", {"&OK"}},
      {"OK in the details box", {}, "answer message \"Details\"\nanswer message \"OK\"\n", {"&Details", "&OK"}},
      {"Email in the details box", {}, "answer message \"Details\"\nanswer message \"Email Report\"\n",
       {"&Details", "&Email Report"}, true},
      {"details at once", {"SkipInitialMessage=1"}, "answer message \"OK\"\n", {"&OK"}},
      {"mail at once wins", {"SkipInitialMessage=1", "JustEmail=1"}, "", {}, true},
      {"quiet", {"CloseQuietly=1", "JustEmail=1"}, "", {}},
  };
  // The mail goes to a recording mail program, a long report by a recording clipboard.
  test_support::PrivateDesktop desktop({"mailto"}, MAIL_RECORDER_PATH);
  desktop.RecordClipboard();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    desktop.Clear();
    std::vector<std::string> settings = c.settings;
    settings.push_back("WindowTitle=Tester");
    FaultOutcome run = RunFault("nullread", settings, c.script);
    EXPECT_EQ(ExitStatus(run), 139);
    auto shown = Lines(run.transcript, "\n");
    ASSERT_EQ(shown.size(), c.answers.size()) << run.transcript;
    for (std::size_t i = 0; i < shown.size(); ++i) {
      EXPECT_NE(shown[i].find("\"caption\": \"Tester\""), std::string::npos) << shown[i];
      EXPECT_NE(shown[i].find("\"answer\": \"" + c.answers[i] + "\""), std::string::npos) << shown[i];
    }
    EXPECT_NE(run.report.find("Reported error"), std::string::npos);
    auto links = test_support::PrivateDesktop::WaitForRecords(desktop.Received(), c.mailed ? 1 : 0);
    ASSERT_EQ(links.size(), c.mailed ? 1u : 0u);
    if (c.mailed) {
      EXPECT_EQ(mailtest::SplitMailLink(links[0]).subject, "GPF in Tester");
    }
  }
}

TEST(FaultRun, TheDetailsBoxShowsTheWholeReport) {
  FaultOutcome run = RunFault("nullread", {"SkipInitialMessage=1"}, "answer message \"OK\"\n");
  auto shown = Lines(run.transcript, "\n");
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_NE(shown[0].find("\"text\": \"This program has performed an illegal operation and will now end.\\r\\n" +
                          std::string(200, '-') + "\\r\\nProgram : "),
            std::string::npos)
      << shown[0];
  EXPECT_NE(shown[0].find("\"buttons\": [\"&OK\", \"&Email Report\"]"), std::string::npos) << shown[0];
}

TEST(FaultRun, AFaultFromAScriptedActionCarriesOnTheSameScript) {
  std::string script =
      "answer message \"Details\"\n"
      "answer message \"OK\"\n"
      "press FAULT\n";
  FaultOutcome run = RunFault("window", {}, script);
  EXPECT_EQ(ExitStatus(run), 139);
  EXPECT_EQ(Line(run, "Thread"), "Thread : 1 \tField : 1 \tEvent : 1 \tKeycode : 0");
  auto shown = Lines(run.transcript, "\n");
  ASSERT_EQ(shown.size(), 2u) << run.transcript;
  EXPECT_NE(shown[0].find("\"answer\": \"&Details\""), std::string::npos);
  EXPECT_NE(shown[1].find("\"answer\": \"&OK\""), std::string::npos);
}

TEST(FaultRun, AppendedReportsFollowTheOldTextAfterOneEmptyLine) {
  std::ofstream("Faultscribe.log", std::ios::binary) << "old report";
  FaultOutcome run = RunFault("divzero", {"CloseQuietly=1", "DumpFileAppend=1"});
  EXPECT_EQ(run.report.rfind("old report\r\n\r\n" + std::string(82, '-') + "\r\nProgram : ", 0), 0u) << run.report;

  RunFault("divzero", {"CloseQuietly=1"});
  EXPECT_EQ(FileText("Faultscribe.log").rfind(std::string(82, '-'), 0), 0u);
}

TEST(FaultRun, TheTraceLogIsWrittenBesideTheProgramOnlyWhenEnabled) {
  // A copy of the program of our own: the log's name is the program's path and a suffix, in a
  // place of 256 characters, so the copy lies in a short folder.
  test_support::ShortFolder folder;
  const std::string program = folder / "faulter";
  fs::copy_file(FAULT_PROGRAM, program);
  const fs::path log = folder / "faulter DebugLog.txt";
  RunFault("divzero", {"CloseQuietly=1"}, "", program);
  EXPECT_FALSE(fs::exists(log));

  RunFault("divzero", {"CloseQuietly=1", "DebugLogEnabled=1"}, "", program);
  auto lines = Lines(FileText(log));
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.front().rfind("GPF occurred, ER.ExceptionCode=C0000094h ER.ExceptionAddress=", 0), 0u);
  const std::vector<std::string> expected = {"Before DebugReport", "DebugReport 1", "DebugReport 2",
                                             "Before call to _GetAssert", "Before call to _GetOtherMessage",
                                             "DebugReport 3", "DebugReport 4", "Before call to ExtraReportText",
                                             "After call to ExtraReportText", "After Writing DumpFile",
                                             "After closing Wait1 window", "Before call to _ExecuteCommands",
                                             "After call to _ExecuteCommands", "*** Finished OK ***"};
  // The look-up and the walk log their own steps in between.
  std::vector<std::string> sequence;
  bool located = false, walked = false;
  for (auto line = lines.begin() + 1; line != lines.end(); ++line) {
    located = located || *line == "LocateDebugSymbols, Debug data located.";
    walked = walked || *line == "StackDetails, Start";
    bool step = false;
    for (const char* prefix : {"GetSymbol, ", "GetModuleHandle ", "LocateDebugSymbols, ", "StackDetails", "StackDump "})
      step = step || line->rfind(prefix, 0) == 0;
    if (!step) sequence.push_back(*line);
  }
  EXPECT_EQ(sequence, expected);
  EXPECT_TRUE(located);
  EXPECT_TRUE(walked);
}

// A program file deep in the file system reports like any other: its report line keeps the
// front of its path, and the trace log is written beside it, under its whole path.
TEST(FaultRun, AProgramAtAPathOfAnyLengthReportsAndLogsBesideItself) {
  for (std::size_t length : {300u, 1100u}) {
    SCOPED_TRACE(length);
    test_support::ShortFolder folder;
    fs::path place = folder.Path();
    while (length - place.string().size() > 250) place /= std::string(200, 'd');
    fs::create_directories(place);
    const fs::path program = place / std::string(length - place.string().size() - 1, 'p');
    ASSERT_EQ(program.string().size(), length);
    fs::copy_file(FAULT_PROGRAM, program);
    fs::remove("Faultscribe.log");
    FaultOutcome run = RunFault("nullread", {"CloseQuietly=1", "DebugLogEnabled=1"}, "", program);
    EXPECT_EQ(ExitStatus(run), 139) << run.child.errors;
    EXPECT_EQ(Line(run, "Program"), crashtest::ProgramLine(program.string()));
    EXPECT_NE(run.report.find("Proc=deliberate::NullRead"), std::string::npos) << run.report;
    EXPECT_TRUE(fs::exists(program.string() + " DebugLog.txt"));
  }
}

TEST(FaultRun, TheWaitWindowIsShownWhenAskedUnlessQuietOrAStackOverflow) {
  struct Case {
    BYTE enabled;
    BYTE quiet;
    DWORD code;
    bool shown;
  };
  const std::vector<Case> cases = {
      {1, 0, EXCEPTION_ACCESS_VIOLATION, true},  {0, 0, EXCEPTION_ACCESS_VIOLATION, false},
      {1, 1, EXCEPTION_ACCESS_VIOLATION, false}, {1, 0, EXCEPTION_STACK_OVERFLOW, false},
  };
  for (const Case& c : cases) {
    FaultscribeClass reporter;
    reporter.WaitWinEnabled = c.enabled;
    reporter.CloseQuietly = c.quiet;
    EXPECT_EQ(crash::WantsWaitWindow(reporter, c.code), c.shown) << int(c.enabled) << int(c.quiet) << c.code;
  }
}

}  // namespace
