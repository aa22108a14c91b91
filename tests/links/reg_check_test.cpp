#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "links/linkbright_class.h"
#include "platform/rt/command.h"
#include "platform/win/system/debug_output.h"
#include "platform/win/system/registry.h"
#include "tests/support/private_desktop.h"

namespace {

using Lines = std::vector<std::string>;
using test_support::PrivateDesktop;

class TracedRegCheck : public ::testing::Test {
 protected:
  void SetUp() override {
    win::SetDebugSink([this](std::string_view line) { lines.emplace_back(line); });
    rt::SetCommandLine({"boxwright", "/LBDebug", "/LBdbgReg"});
  }
  void TearDown() override {
    win::SetDebugSink({});
    rt::SetCommandLine({});
  }
  Lines lines;
};

TEST_F(TracedRegCheck, AFileTriesItsTypeKeysInOrder) {
  PrivateDesktop desktop({"application/pdf"});
  vrLinkbrightClass link;
  EXPECT_EQ(link.RegCheck("report.final.pdf"), 1);
  EXPECT_EQ(link.OpenProgram, desktop.Command());
  EXPECT_EQ(lines, (Lines{"Linkbright: Tried(1): pdffile\\shell\\open\\command\r\nReturned:0"}));
}

TEST_F(TracedRegCheck, WithoutAProgramEveryKeyIsTriedAndTheAnswerIsNo) {
  PrivateDesktop desktop({});
  vrLinkbrightClass link;
  EXPECT_EQ(link.RegCheck("report.pdf"), 0);
  EXPECT_EQ(lines, (Lines{"Linkbright: Tried(1): pdffile\\shell\\open\\command\r\nReturned:2",
                          "Linkbright: Tried(2): pdf_auto_file\\shell\\open\\command\r\nReturned:2",
                          "Linkbright: Tried(3): .pdf\r\nReturned:0",
                          "Linkbright: Tried(3+): application/pdf\\shell\\open\\command\r\nReturned:2"}));
  EXPECT_EQ(link.RegSubkeyName, "application/pdf\\shell\\open\\command");
  EXPECT_EQ(link.RegBufferSize, 200);
}

TEST(RegCheck, AnswersByTheKindOfTarget) {
  struct Case {
    std::vector<std::string> handled;
    std::string target;
    LONG options;
    LONG expected;
  } cases[] = {
      {{"callto"}, "echo123", 1, 1},
      {{"mailto"}, "echo123", 1, 0},
      {{"mailto"}, "ann@example.com", 0, 1},
      {{}, "ann@example.com", 0, 0},
      {{"text/html"}, "www.example.com", 0, 1},
      {{"text/html"}, "https://ann@example.com/", 0, 1},
      {{}, "http://example.com", 0, 0},
      {{"text/html"}, "   ", 0, 0},
      {{"text/plain"}, "notes.txt", 0, 1},
  };
  for (const auto& c : cases) {
    // One desktop per process: each case looks at its own copy of the association files.
    SCOPED_TRACE(c.target);
    pid_t child = fork();
    if (child == 0) {
      PrivateDesktop desktop(c.handled);
      vrLinkbrightClass link;
      _exit(link.RegCheck(c.target, c.options) == c.expected ? 0 : 1);
    }
    int status = -1;
    waitpid(child, &status, 0);
    EXPECT_EQ(status, 0);
  }
}

TEST(RegCheck, AMailCommandIsReadOnceAndKept) {
  PrivateDesktop desktop({"mailto", "text/html"});
  vrLinkbrightClass link;
  link.Init();
  EXPECT_EQ(link.LinkbrightEmail, desktop.Command());
  EXPECT_EQ(link.LinkbrightBrowser, desktop.Command());
  EXPECT_EQ(link.Inited, 1);
  link.LinkbrightEmail = "kept";
  EXPECT_EQ(link.RegCheck("ann@example.com"), 1);
  EXPECT_EQ(link.OpenProgram, "kept");
}

TEST(RegCheck, AMailCommandOnTheSystemDriveKeepsItsTokenWhereNoDriveLetterExists) {
  PrivateDesktop desktop({});
  // A handler the registry store names, as one copied from the designed platform would.
  const std::string command = "%SystemDrive%\\Mail\\mail.exe /m \"%1\"";
  std::string hex;
  for (char c : command + '\0') {
    char digits[3];
    std::snprintf(digits, sizeof digits, "%02x", static_cast<unsigned char>(c));
    hex += digits;
  }
  std::ofstream("store") << "value\tHKEY_CLASSES_ROOT\\mailto\\shell\\open\\command\t\t1\t" << hex << "\n";
  win::UseRegistryFile("store");
  vrLinkbrightClass link;
  link.Init(0, 1);
  EXPECT_EQ(link.LinkbrightEmail, command);
  EXPECT_EQ(link.pszPath, "/");
  link.LinkbrightEmail.clear();
  EXPECT_EQ(link.RegCheck("ann@example.com"), 1);
  EXPECT_EQ(link.OpenProgram, command);
}

}  // namespace
