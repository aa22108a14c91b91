#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "crash/faultscribe.h"
#include "mail_url.h"
#include "platform/rt/command.h"
#include "tests/support/file_text.h"
#include "tests/support/private_desktop.h"
#include "tests/support/short_folder.h"

namespace {

using mailtest::PercentDecoded;
using mailtest::SplitMailLink;
using test_support::PrivateDesktop;
using Arguments = std::vector<std::string>;

using test_support::FileText;

std::string ReportLines(int stackLevels) {
  std::string lines = "Program : /opt/boxwright/boxwright\r\nVersion : 1.1.0\r\nReported error : "
                      "EXCEPTION_INT_DIVIDE_BY_ZERO\r\n : Flags=00000000 Except2=00000000";
  for (int i = 0; i < stackLevels; ++i) lines += "\r\n  " + std::to_string(4198400 + i) + "h  Proc: Main & \"x\" 5%";
  return lines;
}

// A report as the fault sequence writes it: an empty line and the dash line first.
std::string Report(const std::string& lines) { return "\r\n" + std::string(200, '-') + "\r\n" + lines; }

// A reporter as the presenting process has it: the application's settings, every text at its
// default, the trace log on.
class MailReporter : public ::testing::Test {
 protected:
  void SetUp() override {
    reporter_.EmailAddress = "The developer <dev@boxwright.example>";
    reporter_.DumpFileName = "Faultscribe.log";
    reporter_.DebugLogEnabled = 1;
    reporter_.DebugLogFileName = "trace.txt";
    reporter_.DebugEmailFileName = "debug email.txt";
    reporter_._InitReportText();
  }

  void Send(const std::string& report) { reporter_.SendReport(report, EXCEPTION_INT_DIVIDE_BY_ZERO); }

  FaultscribeClass reporter_;
};

TEST_F(MailReporter, AShortReportArrivesAsOneLinkFromItsProgramLine) {
  PrivateDesktop desktop({"mailto"}, MAIL_RECORDER_PATH);
  Send(Report(ReportLines(3)));
  Arguments links = PrivateDesktop::WaitForRecords(desktop.Received(), 1);
  ASSERT_EQ(links.size(), 1u);
  auto link = SplitMailLink(links[0]);
  EXPECT_EQ(link.recipient, "The developer <dev@boxwright.example>");
  EXPECT_EQ(link.subject, "GPF in ");  // Boxwright's own window title is empty
  EXPECT_EQ(PercentDecoded(link.body), ReportLines(3) + "\r\n[END]");
  EXPECT_EQ(FileText("trace.txt"),
            "SendReport, Start\r\nSendReport, Before ThisLinkbright.Run\r\nSendReport, After ThisLinkbright.Run\r\n"
            "SendReport, End\r\n");
  EXPECT_FALSE(std::filesystem::exists("debug email.txt"));
}

TEST_F(MailReporter, SplitPartsEachArriveOnceAndJoinToTheReport) {
  PrivateDesktop desktop({"mailto"}, MAIL_RECORDER_PATH);
  reporter_.WindowTitle = "Boxwright";
  reporter_.SplitEmail = 1;
  reporter_.DebugEmail = 1;
  const std::string lines = ReportLines(100);
  Send(Report(lines));

  Arguments links = PrivateDesktop::WaitForRecords(desktop.Received(), 3);
  ASSERT_EQ(links.size(), 3u);
  auto partOf = [](const std::string& url) { return SplitMailLink(url).subject; };
  std::sort(links.begin(), links.end(), [&](const auto& a, const auto& b) { return partOf(a) < partOf(b); });
  std::string joined;
  for (int part = 1; part <= 3; ++part) {
    auto link = SplitMailLink(links[part - 1]);
    EXPECT_EQ(link.subject, "GPF in Boxwright [PART " + std::to_string(part) + "]");
    ASSERT_TRUE(link.body.ends_with("%0D%0A[END PART]")) << link.body;
    joined += link.body.substr(0, link.body.size() - std::string("[END PART]").size());
  }
  EXPECT_EQ(PercentDecoded(joined), lines + "\r\n");
  EXPECT_EQ(FileText("debug email.txt"), links[0] + "\r\n\r\n" + links[1] + "\r\n\r\n" + links[2]);
  EXPECT_NE(FileText("trace.txt").find("SendReport, Before ThisLinkbright.Run, ThisPart=3\r\n"), std::string::npos);
}

TEST_F(MailReporter, TheReportWaitsOnTheClipboardWhenAskedOrTooLong) {
  struct Case {
    const char* name;
    int stackLevels;
    BYTE split;
    BYTE alwaysPaste;
  } cases[] = {
      {"always paste, even split", 3, 1, 1},
      {"too long without split", 100, 0, 0},
  };
  for (const auto& c : cases) {
    PrivateDesktop desktop({"mailto"}, MAIL_RECORDER_PATH);
    desktop.RecordClipboard();
    reporter_.SplitEmail = c.split;
    reporter_.AlwaysPasteEmail = c.alwaysPaste;
    Send(Report(ReportLines(c.stackLevels)));
    EXPECT_EQ(FileText(desktop.Clipboard()), ReportLines(c.stackLevels) + "\r\n[END]") << c.name;
    Arguments links = PrivateDesktop::WaitForRecords(desktop.Received(), 1);
    ASSERT_EQ(links.size(), 1u) << c.name;
    EXPECT_EQ(PercentDecoded(SplitMailLink(links[0]).body),
              "Edit|Paste the report here (CTL+V) or attach the logfile.\r\nFaultscribe.log\r\n[END]")
        << c.name;
  }
}

// A clipboard tool that is missing, or one that cannot reach the display, takes nothing:
// then the report goes in parts rather than as a request to paste an empty clipboard.
TEST_F(MailReporter, WithoutAClipboardTheReportGoesInParts) {
  struct Case {
    const char* name;
    bool toolsOnPath;
  } cases[] = {{"no clipboard tool", false}, {"a tool without its display", true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    PrivateDesktop desktop({"mailto"}, MAIL_RECORDER_PATH);
    test_support::ShortFolder noTools;
    const std::string path = std::getenv("PATH");
    if (!c.toolsOnPath) setenv("PATH", noTools.Path().c_str(), 1);
    setenv("DISPLAY", ":boxwright-test", 1);
    const std::string lines = ReportLines(100);
    Send(Report(lines));
    setenv("PATH", path.c_str(), 1);
    unsetenv("DISPLAY");
    Arguments links = PrivateDesktop::WaitForRecords(desktop.Received(), 3);
    ASSERT_EQ(links.size(), 3u);
    EXPECT_EQ(mailtest::JoinedMailBody(links), lines + "\r\n");
  }
}

// Records when the restart comes, instead of restarting.
class RestartWatcher : public FaultscribeClass {
 public:
  void _RestartProgram() override {
    PrivateDesktop::WaitForFile("command.txt");
    commandHadRun = std::filesystem::exists("command.txt");
  }
  bool commandHadRun = false;
};

TEST(AfterTheReport, TheCommandRunsBeforeTheRestart) {
  RestartWatcher reporter;
  reporter.ExecuteCommand = "\"" + std::string(ARG_RECORDER_PATH) + "\" command.txt \"ran it\"";
  reporter.RestartProgram = 1;
  reporter._ExecuteCommands();
  EXPECT_TRUE(reporter.commandHadRun);
  EXPECT_EQ(PrivateDesktop::ArgumentsIn("command.txt"), Arguments{"ran it"});
}

TEST(AfterTheReport, TheRestartGetsEachArgumentAsItWasGiven) {
  const Arguments given = {"a b", "say \"hi\"", "", "tab\there", "back\\slash\\\""};
  Arguments argv = {ARG_RECORDER_PATH, "restart.txt"};
  argv.insert(argv.end(), given.begin(), given.end());
  rt::SetCommandLine(argv);
  FaultscribeClass reporter;
  reporter.RestartProgram = 1;
  reporter._ExecuteCommands();
  PrivateDesktop::WaitForFile("restart.txt");
  EXPECT_EQ(PrivateDesktop::ArgumentsIn("restart.txt"), given);

  std::filesystem::remove("restart.txt");
  reporter.RestartProgram = 0;
  reporter._ExecuteCommands();
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  EXPECT_FALSE(std::filesystem::exists("restart.txt"));
}

}  // namespace
