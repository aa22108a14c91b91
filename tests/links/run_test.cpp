#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "links/linkbright_class.h"
#include "platform/rt/command.h"
#include "platform/rt/dialogs.h"
#include "platform/win/system/debug_output.h"
#include "tests/support/message_screen.h"
#include "tests/support/private_desktop.h"
#include "tests/support/shell_targets.h"

namespace {

using Arguments = std::vector<std::string>;
using test_support::PrivateDesktop;

// What a shell failure shows, through the class's own check.
class ShellFailures : public vrLinkbrightClass {
 public:
  using vrLinkbrightClass::CheckShellResult;
};

TEST(Run, MailTargetsGoToTheMailProgram) {
  PrivateDesktop desktop({"mailto", "x-scheme-handler/http", "x-scheme-handler/https"});
  struct Case {
    std::string target;
    std::string received;
  } cases[] = {
      {"ann@example.com", "mailto:ann@example.com"},
      {"MAILTO:ann@example.com?subject=Hi", "MAILTO:ann@example.com?subject=Hi"},
      {"www.example.com/~ann@home", "mailto:www.example.com/~ann@home"},
      {"http://ann@example.com/", "http://ann@example.com/"},
      {"HTTPS://ann@example.com/", "HTTPS://ann@example.com/"},
  };
  for (const auto& c : cases) {
    desktop.Clear();
    vrLinkbrightClass link;  // as the crash reporter uses it: never given Init
    link.URLToRun = c.target;
    link.Run();
    EXPECT_EQ(desktop.WaitForArguments(), Arguments{c.received}) << c.target;
  }
}

TEST(Run, AnAddressIsNeverAMailWhenTheObjectSaysSo) {
  PrivateDesktop desktop({"mailto"});
  auto& screen = test_support::UseMessageScreen();
  vrLinkbrightClass link;
  link.URLIsNotAnEmail = 1;
  link.URLToRun = "ann@example.com";
  link.Run();
  ASSERT_EQ(screen.messages.size(), 1u);
  EXPECT_EQ(screen.messages[0].caption, "Shell Execute Error:2");
  EXPECT_FALSE(std::filesystem::exists(desktop.Received()));
}

TEST(Run, EncodedMailReachesTheProgramEscaped) {
  PrivateDesktop desktop({"mailto"});
  vrLinkbrightClass link;
  link.EncodeEmails = 1;
  link.URLToRun = "ann@example.com?subject=Crash \"report\"&body=Line one; two & $(three)";
  link.Run();
  EXPECT_EQ(desktop.WaitForArguments(),
            Arguments{"mailto:ann@example.com?subject=Crash \"report\"&body=Line%20one%3B%20two%20%26%20$(three)"});
  EXPECT_EQ(link.URLToRun, "ann@example.com?subject=Crash \"report\"&body=Line%20one%3B%20two%20%26%20$(three)");
}

TEST(Run, LongMailUrlsAreCutSoTheCommandFitsTheLimit) {
  PrivateDesktop desktop({"mailto"});
  const std::string address = "ann@example.com?body=" + std::string(593 - 21, 'x');  // "mailto:" makes 600
  struct Case {
    LONG objectLimit;
    LONG runLimit;
    size_t command;
    size_t received;
  } cases[] = {
      {0, 520, 60, 460},   // the mail command counts against the limit
      {520, 0, 60, 460},   // 0 takes the object's limit
      {0, 0, 60, 600},     // no limit
      {0, -1, 60, 600},    // this system has none
      {0, 700, 60, 600},   // within the limit
  };
  for (const auto& c : cases) {
    desktop.Clear();
    vrLinkbrightClass link;
    link.LimitURL = c.objectLimit;
    link.LinkbrightEmail = std::string(c.command, 'm');
    link.URLToRun = address;
    link.Run(std::nullopt, c.runLimit);
    auto received = desktop.WaitForArguments();
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0], ("mailto:" + address).substr(0, c.received)) << c.runLimit;
  }
}

TEST(Run, ACommandAsLongAsTheLimitLeavesNothingToRun) {
  PrivateDesktop desktop({"mailto"});
  auto& screen = test_support::UseMessageScreen();
  vrLinkbrightClass link;
  link.LinkbrightEmail = std::string(255, 'm');
  link.URLToRun = "ann@example.com";
  link.Run(std::nullopt, 200);
  ASSERT_EQ(screen.messages.size(), 1u);
  EXPECT_EQ(screen.messages[0].text, "(2) The specified file was not found. File:\r\n");
}

TEST(Run, OtherTargetsOpenWithTheirPrograms) {
  PrivateDesktop desktop({"x-scheme-handler/http", "text/html"});
  std::filesystem::create_directory("site");
  std::ofstream("site/page one.htm") << "<html></html>";
  struct Case {
    std::string target;
    std::string received;
  } cases[] = {
      {"http://example.com/a?b=1&c=$(d)", "http://example.com/a?b=1&c=$(d)"},
      {"www.example.com", "http://www.example.com"},
      {"site/page one.htm  ", (std::filesystem::current_path() / "site/page one.htm").string()},
  };
  for (const auto& c : cases) {
    desktop.Clear();
    vrLinkbrightClass link;
    link.URLToRun = c.target;
    link.Run(7);
    EXPECT_EQ(desktop.WaitForArguments(), Arguments{c.received}) << c.target;
  }
}

TEST(Run, AProgramToRunGetsTheTargetAsOneArgumentOnce) {
  PrivateDesktop desktop({});
  for (std::string target : {"http://x.example/a b?\"q\" ;$(id)`id`\\", "--output=/x -rf"}) {
    std::filesystem::remove("recorded");
    vrLinkbrightClass link;
    link.ThisExeToRun = "\"" + std::string(ARG_RECORDER_PATH) + "\" recorded";
    link.URLToRun = target;
    link.Run();
    PrivateDesktop::WaitForFile("recorded");
    EXPECT_EQ(PrivateDesktop::ArgumentsIn("recorded"), Arguments{target});
    EXPECT_EQ(link.ThisExeToRun, "");
  }
}

TEST(Run, ADocumentOrAPathIsOpenedAndNeverRun) {
  test_support::ShellTargets targets;
  PrivateDesktop desktop(test_support::ShellTargets::Handled());
  auto& screen = test_support::UseMessageScreen();
  const std::string odd = targets.Path("odd@dir/mailto:x");
  const std::string notFound = "(2) The specified file was not found. File:\r\n";
  struct Case {
    std::string target;
    std::string received;  // "" when a message is shown instead
    std::string message;
  } cases[] = {
      {targets.Path("fat.pdf"), targets.Path("fat.pdf"), ""},
      {targets.Path("notes.txt"), targets.Path("notes.txt"), ""},
      {"doc.pdf", targets.Path("here/doc.pdf"), ""},
      {"file://" + targets.Path("fat.pdf"), targets.Path("fat.pdf"), ""},
      {targets.Path("folder"), targets.Path("folder"), ""},
      // Taken for e-mail for its "@": it reaches the mail program as a mail URL, whole.
      {odd, "mailto:" + odd, ""},
      {"prog-on-path", "", notFound + "prog-on-path"},
      {targets.Path("missing.pdf"), "", notFound + targets.Path("missing.pdf")},
  };
  for (const auto& c : cases) {
    desktop.Clear();
    screen.messages.clear();
    vrLinkbrightClass link;
    link.URLToRun = c.target;
    link.Run();
    if (c.received.empty()) {
      ASSERT_EQ(screen.messages.size(), 1u) << c.target;
      EXPECT_EQ(screen.messages[0].text, c.message);
    } else {
      EXPECT_EQ(desktop.WaitForArguments(), Arguments{c.received}) << c.target;
      EXPECT_TRUE(screen.messages.empty()) << c.target;
    }
  }
  EXPECT_FALSE(std::filesystem::exists(desktop.Received()));
  EXPECT_FALSE(targets.SomethingRan());
}

TEST(Run, AMailTheMailProgramCannotTakeIsReportedNotLost) {
  PrivateDesktop desktop({"mailto"}, ARG_RECORDER_PATH, {.fieldCode = "%f"});
  auto& screen = test_support::UseMessageScreen();
  vrLinkbrightClass link;  // as the crash reporter uses it
  link.URLToRun = "mailto:ann@example.com?subject=GPF in boxwright";
  link.Run();
  ASSERT_EQ(screen.messages.size(), 1u);
  EXPECT_EQ(screen.messages[0].text,
            "(27) The file name association is incomplete or invalid. File:\r\n"
            "mailto:ann@example.com?subject=GPF in boxwright");
  EXPECT_FALSE(std::filesystem::exists(desktop.Received()));
}

TEST(Run, ShellFailuresShowTheirTextUnderTheirCaption) {
  PrivateDesktop desktop({});
  auto& screen = test_support::UseMessageScreen();
  vrLinkbrightClass link;
  link.URLToRun = "boxwrightnohandler:thing";
  link.Run();
  link.URLToRun = "no such file.txt";
  link.Run();
  link.URLToRun = "   ";
  link.Run();
  ASSERT_EQ(screen.messages.size(), 2u);
  EXPECT_EQ(screen.messages[0].text,
            "(31) There is no application associated with the given file name extension. File:\r\n"
            "boxwrightnohandler:thing");
  EXPECT_EQ(screen.messages[0].caption, "Shell Execute Error:31");
  EXPECT_EQ(screen.messages[0].icon, ICON::Asterisk);
  EXPECT_EQ(screen.messages[0].buttons, std::vector<std::string>{"OK"});
  EXPECT_EQ(screen.messages[1].text, "(2) The specified file was not found. File:\r\nno such file.txt");
}

TEST(Run, EachShellFailureHasItsText) {
  auto& screen = test_support::UseMessageScreen();
  ShellFailures link;
  struct Case {
    int code;
    const char* text;
  } cases[] = {
      {0, "The Operating system is out of memory/resources."},
      {2, "The specified file was not found."},
      {3, "The specified path was not found."},
      {5, "The operating system denied access to the specified file."},
      {7, "Unknown ShellExecute Error occured."},
      {8, "There was not enough memory to complete the operation."},
      {11, "The .exe file is invalid (non-Win32\u00ae .exe or error in .exe image)."},
      {26, "A sharing violation occurred."},
      {27, "The file name association is incomplete or invalid."},
      {28, "The DDE transaction could not be completed because the request timed out."},
      {29, "The DDE transaction failed."},
      {30, "The DDE transaction could not be completed because other DDE transactions were being processed."},
      {31, "There is no application associated with the given file name extension."},
      {32, "The specified dynamic-link library was not found."},
  };
  for (const auto& c : cases) {
    screen.messages.clear();
    link.CheckShellResult(c.code, "f|g");
    ASSERT_EQ(screen.messages.size(), 1u);
    EXPECT_EQ(screen.messages[0].text, "(" + std::to_string(c.code) + ") " + c.text + " File:\r\nf|g");
    EXPECT_EQ(screen.messages[0].caption, "Shell Execute Error:" + std::to_string(c.code));
  }
  screen.messages.clear();
  link.CheckShellResult(33, "f");
  EXPECT_TRUE(screen.messages.empty());
}

TEST(Run, TracesTheCommandsUnderTheSwitch) {
  PrivateDesktop desktop({"mailto"});
  std::vector<std::string> lines;
  win::SetDebugSink([&](std::string_view line) { lines.emplace_back(line); });
  rt::SetCommandLine({"boxwright", "/LBDebug"});
  vrLinkbrightClass link;
  link.URLToRun = "ann@example.com";
  link.Run();
  desktop.WaitForArguments();
  win::SetDebugSink({});
  EXPECT_EQ(lines, std::vector<std::string>{"Linkbright: Command to run: mailto:ann@example.com"});
}

TEST(Debug, WithoutTheSwitchNothingIsWrittenAndTheLineIsNeverLookedForAgain) {
  std::vector<std::string> lines;
  win::SetDebugSink([&](std::string_view line) { lines.emplace_back(line); });
  rt::SetCommandLine({"boxwright"});
  vrLinkbrightClass link;
  link.Debug("first");
  rt::SetCommandLine({"boxwright", "/LBDebug"});
  link.Debug("second");
  vrLinkbrightClass traced;
  traced.Debug(std::string(2000, 'x') + "   ");
  win::SetDebugSink({});
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0], "Linkbright: " + std::string(1023 - 12, 'x'));
}

}  // namespace
