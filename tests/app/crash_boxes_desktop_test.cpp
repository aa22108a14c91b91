// The crash reporter's boxes on a real desktop, as a user meets them after the librarian
// faulted (FAULTING_LIBRARIAN faults as it starts): Esc and the close box, the details box on
// a laptop's 1280x800 screen, and the end of the session while a box is open.
#include <gtest/gtest.h>
#include <signal.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "tests/app/x_desktop.h"
#include "tests/support/private_desktop.h"

namespace app_test {
namespace {

using namespace std::chrono_literals;

// The boxes are found by their program: the librarian's window title is empty.
const std::string kProgram = "faulting_librarian";

// The librarian, started on the desktop; mails go to a recording mail program.
class CrashBoxes : public ::testing::Test {
 protected:
  explicit CrashBoxes(const std::string& screen = "1280x800x24") : desktop_(screen) {}

  std::unique_ptr<test_support::StartedChild> Start() {
    // The mail program of the test's own desktop, not of the X desktop's home.
    return std::make_unique<test_support::StartedChild>(
        std::vector<std::string>{FAULTING_LIBRARIAN},
        desktop_.On({.environment = {std::string("XDG_CONFIG_HOME=") + std::getenv("XDG_CONFIG_HOME")}}));
  }

  // The next box once `shown` has gone.
  std::string NextBox(const std::string& shown) const {
    for (int tries = 0; tries < 100; ++tries) {
      std::string box = desktop_.WaitForWindowOf(kProgram);
      if (!box.empty() && box != shown) return box;
      std::this_thread::sleep_for(100ms);
    }
    return "";
  }

  bool Press(const std::string& box, const std::string& keys) const {
    return desktop_.Do({"windowactivate", "--sync", box}) && desktop_.Do({"key", "--clearmodifiers", keys});
  }

  bool NoMailCame() const {
    std::this_thread::sleep_for(300ms);  // a mail program that was started would have written by now
    return !std::filesystem::exists(mail_.Received());
  }

  XDesktop desktop_;
  test_support::PrivateDesktop mail_{{"mailto"}, MAIL_RECORDER_PATH};
};

TEST_F(CrashBoxes, EscapeAndTheCloseBoxEndEitherBoxAsOkDoes) {
  ASSERT_TRUE(desktop_.Ready());
  struct Case {
    const char* name;
    bool details;
    bool closeBox;
  };
  for (const Case& c : {Case{"Esc in the first box", false, false}, Case{"the first box's close box", false, true},
                        Case{"Esc in the details box", true, false}, Case{"the details box's close box", true, true}}) {
    SCOPED_TRACE(c.name);
    auto program = Start();
    std::string box = desktop_.WaitForWindowOf(kProgram);
    ASSERT_NE(box, "");
    if (c.details) {
      ASSERT_TRUE(Press(box, "alt+d"));
      box = NextBox(box);
      ASSERT_NE(box, "");
    }
    ASSERT_TRUE(c.closeBox ? desktop_.Close(box) : Press(box, "Escape"));
    const test_support::ChildRun run = program->Wait(20s);
    EXPECT_FALSE(run.timedOut) << "the box stayed";
    EXPECT_EQ(run.status, 139);
    EXPECT_TRUE(NoMailCame());
  }
}

TEST_F(CrashBoxes, TheDetailsBoxShowsTheReportLargeAndWholeOnALaptopScreen) {
  ASSERT_TRUE(desktop_.Ready());
  auto program = Start();
  const std::string first = desktop_.WaitForWindowOf(kProgram);
  ASSERT_TRUE(Press(first, "alt+d"));
  const std::string details = NextBox(first);
  ASSERT_NE(details, "");
  std::this_thread::sleep_for(300ms);  // placed by the window manager
  const auto area = desktop_.ClientArea(details);
  ASSERT_TRUE(area);
  const int x = (*area)[0], y = (*area)[1], width = (*area)[2], height = (*area)[3];
  // On the screen, buttons and all, and large enough to read a trace: wide lines and tens of them.
  EXPECT_GE(x, 0);
  EXPECT_GE(y, 0);
  EXPECT_LE(x + width, 1280);
  EXPECT_LE(y + height, 800);
  EXPECT_GE(width, 900);
  EXPECT_GE(height, 450);
  ASSERT_TRUE(Press(details, "Return"));  // OK is the default
  EXPECT_EQ(program->Wait(20s).status, 139);
}

TEST_F(CrashBoxes, OneSigtermEndsThePresentingProcessWithItsBoxOpen) {
  ASSERT_TRUE(desktop_.Ready());
  auto program = Start();
  const std::string box = desktop_.WaitForWindowOf(kProgram);
  ASSERT_NE(box, "");
  const int presenter = desktop_.ProcessOf(box);
  ASSERT_GT(presenter, 0);
  ASSERT_EQ(::kill(presenter, SIGTERM), 0);
  const test_support::ChildRun run = program->Wait(10s);
  EXPECT_FALSE(run.timedOut) << "the presenting process took the signal for a session end and stayed";
  EXPECT_EQ(run.status, 139);
  EXPECT_NE(::kill(presenter, 0), 0);
  EXPECT_TRUE(NoMailCame());
}

}  // namespace
}  // namespace app_test
