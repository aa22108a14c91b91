#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "crash/mail/debug_email_copy.h"
#include "crash/mail/mail_roads.h"
#include "mail_url.h"
#include "tests/support/file_text.h"

namespace {

using crash::MailRoad;
using crash::MailSettings;
using mailtest::PercentDecoded;
using mailtest::SplitMailLink;

MailSettings Settings() {
  MailSettings s;
  s.emailAddress = "The developer <dev@boxwright.example>";
  s.windowTitle = "Boxwright";
  s.textForEnd = "END";
  s.textForPart = "PART";
  s.textForPasteInstructions = "Edit|Paste the report here (CTL+V) or attach the logfile.";
  s.dumpFileName = "Faultscribe.log";
  return s;
}

// A report as the reporter writes it: an empty line, 200 dashes, then the lines.
std::string Report(const std::string& lines) { return "\r\n" + std::string(200, '-') + "\r\n" + lines; }

std::string ShortLines() {
  return "Program : /opt/boxwright/boxwright\r\nVersion : 1.1.0\r\nReported error : "
         "EXCEPTION_ACCESS_VIOLATION - Error reading data at : 00000000h\r\nThread : 1 \tField : 0 \tEvent : 0";
}

std::string LongLines(int count) {
  std::string lines = "Program : /opt/boxwright/boxwright";
  for (int i = 0; i < count; ++i) lines += "\r\n  Stack level " + std::to_string(i) + " : 00401000h  Proc: Main \"x\" & 5%";
  return lines;
}

using test_support::FileText;

TEST(MailRoads, AShortReportGoesAsOneMailFromItsProgramLine) {
  MailRoad road = crash::PlanMail(Settings(), Report(ShortLines()));
  ASSERT_EQ(road.links.size(), 1u);
  EXPECT_FALSE(road.clipboard);
  EXPECT_EQ(road.links[0].part, 0);
  auto link = SplitMailLink(road.links[0].urlToRun);
  EXPECT_EQ(link.recipient, "The developer <dev@boxwright.example>");
  EXPECT_EQ(link.subject, "GPF in Boxwright");
  EXPECT_EQ(PercentDecoded(link.body), ShortLines() + "\r\n[END]");
  std::string head = road.links[0].urlToRun.substr(0, road.links[0].urlToRun.find("&Body="));
  EXPECT_EQ(head.find_first_of(" <>\""), std::string::npos) << head;
}

TEST(MailRoads, ReportTextThatLooksLikeEscapesArrivesUnchanged) {
  std::string lines = "Program : C:\\100%\\a#b\r\nRuntime Message : raw %0D%0A and &x=1 \"q\"";
  MailSettings s = Settings();
  for (bool split : {false, true}) {
    s.splitEmail = split;
    MailRoad road = crash::PlanMail(s, Report(lines));
    ASSERT_EQ(road.links.size(), 1u);
    EXPECT_EQ(PercentDecoded(SplitMailLink(road.links[0].urlToRun).body), lines + "\r\n[END]");
  }
}

TEST(MailRoads, EmptyWindowTitleLeavesTheSubjectEndingInGpfIn) {
  MailSettings s = Settings();
  s.windowTitle = "   ";
  EXPECT_EQ(SplitMailLink(crash::PlanMail(s, Report(ShortLines())).links[0].urlToRun).subject, "GPF in ");
}

TEST(MailRoads, OneMailOnlyWhenTheBodyIsShorterThanTheLimitLeavesRoomFor) {
  // A head of 40 characters under the limit of 227 leaves less than 187 for the body.
  MailSettings s = Settings();
  s.emailAddress = "ab@example.o";
  s.windowTitle = "x";
  s.maxEmailLen = 227;
  ASSERT_EQ(crash::MailHead(s).size(), 40u);
  struct Case {
    std::size_t bodyLength;
    bool oneMail;
  } cases[] = {{186, true}, {187, false}, {200, false}};
  for (const auto& c : cases) {
    MailRoad road = crash::PlanMail(s, Report(std::string(c.bodyLength, 'b')));
    EXPECT_EQ(!road.clipboard.has_value(), c.oneMail) << c.bodyLength;
    ASSERT_EQ(road.links.size(), 1u);
  }
}

TEST(MailRoads, TheClipboardCarriesTheReportWhenAskedOrWhenItDoesNotFit) {
  struct Case {
    const char* name;
    std::string lines;
    bool split;
    bool alwaysPaste;
  } cases[] = {
      {"always paste, short", ShortLines(), false, true},
      {"always paste wins over split", LongLines(200), true, true},
      {"too long, no split", LongLines(200), false, false},
  };
  for (const auto& c : cases) {
    MailSettings s = Settings();
    s.splitEmail = c.split;
    s.alwaysPasteEmail = c.alwaysPaste;
    MailRoad road = crash::PlanMail(s, Report(c.lines));
    ASSERT_TRUE(road.clipboard) << c.name;
    EXPECT_EQ(*road.clipboard, c.lines + "\r\n[END]") << c.name;
    ASSERT_EQ(road.links.size(), 1u) << c.name;
    auto link = SplitMailLink(road.links[0].urlToRun);
    EXPECT_EQ(link.subject, "GPF in Boxwright") << c.name;
    EXPECT_EQ(PercentDecoded(link.body),
              "Edit|Paste the report here (CTL+V) or attach the logfile.\r\nFaultscribe.log\r\n[END]")
        << c.name;
  }
}

// A report that is in no file, or that no clipboard could take, travels in the mail itself:
// one mail when it fits, else parts, whatever SplitEmail and AlwaysPasteEmail say.
TEST(MailRoads, AMailThatMustCarryTheReportNeverAsksForAPaste) {
  const std::string problem = "The report could not be written to \"Faultscribe.log\": it is a symbolic link.";
  struct Case {
    const char* name;
    std::string lines;
    bool fileWritten;
    bool split;
    bool alwaysPaste;
    bool parts;
  } cases[] = {
      {"no file, short", ShortLines(), false, false, false, false},
      {"no file, short, always paste", ShortLines(), false, false, true, false},
      {"no file, long", LongLines(200), false, false, false, true},
      {"no file, long, always paste", LongLines(200), false, true, true, true},
      {"no clipboard, long", LongLines(200), true, false, false, true},
      {"no clipboard, short, always paste", ShortLines(), true, false, true, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    MailSettings s = Settings();
    s.splitEmail = c.split;
    s.alwaysPasteEmail = c.alwaysPaste;
    if (c.fileWritten) {
      s.clipboardUnusable = true;
    } else {
      s.reportFileProblem = problem;
    }
    MailRoad road = crash::PlanMail(s, Report(c.lines));
    EXPECT_FALSE(road.clipboard);
    ASSERT_FALSE(road.links.empty());
    EXPECT_EQ(road.links.size() > 1, c.parts);
    std::vector<std::string> links;
    for (const auto& link : road.links) links.push_back(link.urlToRun);
    EXPECT_EQ(mailtest::JoinedMailBody(links), (c.fileWritten ? "" : problem + "\r\n\r\n") + c.lines + "\r\n");
  }
}

TEST(MailRoads, SplitPartsAreNumberedCutAfterBreaksAndJoinToTheWholeBody) {
  MailSettings s = Settings();
  s.splitEmail = true;
  std::string lines = LongLines(200);
  MailRoad road = crash::PlanMail(s, Report(lines));
  EXPECT_FALSE(road.clipboard);
  ASSERT_GE(road.links.size(), 3u);
  std::string joined;
  for (std::size_t i = 0; i < road.links.size(); ++i) {
    const std::string& url = road.links[i].urlToRun;
    LONG part = static_cast<LONG>(i + 1);
    EXPECT_EQ(road.links[i].part, part);
    auto link = SplitMailLink(url);
    EXPECT_EQ(link.recipient, "The developer <dev@boxwright.example>");
    EXPECT_EQ(link.subject, "GPF in Boxwright [PART " + std::to_string(part) + "]");
    const std::string end = "[END PART]";
    ASSERT_TRUE(link.body.ends_with(end)) << url;
    std::string piece = link.body.substr(0, link.body.size() - end.size());
    EXPECT_TRUE(piece.ends_with("%0D%0A")) << "part " << part;
    EXPECT_LE(piece.size() + crash::MailHead(s, part).size(), static_cast<std::size_t>(s.maxEmailLen));
    joined += piece;
  }
  EXPECT_EQ(PercentDecoded(joined), lines + "\r\n");
}

TEST(MailRoads, APartWithoutABreakWithinTheLimitGoesWhole) {
  MailSettings s = Settings();
  s.splitEmail = true;
  std::string lines = "Program : " + std::string(3000, 'x') + "\r\nVersion : 1.1.0";
  MailRoad road = crash::PlanMail(s, Report(lines));
  ASSERT_EQ(road.links.size(), 1u);
  EXPECT_EQ(PercentDecoded(SplitMailLink(road.links[0].urlToRun).body), lines + "\r\n[END PART]");
}

TEST(MailRoads, AReplacedBreakFinderNeverStallsTheParts) {
  MailSettings s = Settings();
  s.splitEmail = true;
  s.maxEmailLen = 100;
  crash::MailCoding coding;
  coding.findBreak = [](std::string_view, LONG) { return LONG{-3}; };
  MailRoad road = crash::PlanMail(s, Report(LongLines(3)), coding);
  ASSERT_EQ(road.links.size(), 1u);
  coding.findBreak = [](std::string_view text, LONG) { return static_cast<LONG>(text.size() + 50); };
  road = crash::PlanMail(s, Report(LongLines(3)), coding);
  ASSERT_EQ(road.links.size(), 1u);
}

TEST(DebugEmailCopy, ThreePartsLeaveThreeLinksBetweenEmptyLines) {
  std::ofstream("debug email.txt") << "from an earlier fault";
  MailSettings s = Settings();
  s.splitEmail = true;
  s.maxEmailLen = 900;
  MailRoad road = crash::PlanMail(s, Report(LongLines(30)));
  ASSERT_EQ(road.links.size(), 3u);
  for (const auto& link : road.links) EXPECT_EQ(crash::WriteDebugEmailCopy("debug email.txt", link), 0);
  EXPECT_EQ(FileText("debug email.txt"), road.links[0].urlToRun + "\r\n\r\n" + road.links[1].urlToRun + "\r\n\r\n" +
                                             road.links[2].urlToRun);

  MailRoad one = crash::PlanMail(Settings(), Report(ShortLines()));
  EXPECT_EQ(crash::WriteDebugEmailCopy("debug email.txt", one.links[0]), 0);
  EXPECT_EQ(FileText("debug email.txt"), one.links[0].urlToRun);
}

}  // namespace
