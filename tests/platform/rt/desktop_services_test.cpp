#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/rt/clipboard.h"
#include "platform/rt/error_code.h"
#include "platform/rt/run.h"
#include "tests/platform/test_files.h"
#include "tests/support/private_desktop.h"

namespace {

using Arguments = std::vector<std::string>;
using test_support::PrivateDesktop;

TEST(Run, StartsTheProgramWithItsArgumentsAndNoShell) {
  std::string line = "\"" + std::string(ARG_RECORDER_PATH) + "\" out \"a b\" ;c $(d) `e` 'f\" \"g' \\\"h\\\"";
  EXPECT_EQ(RUN(line), 0);
  EXPECT_EQ(ERRORCODE(), 0);
  PrivateDesktop::WaitForFile("out");
  EXPECT_EQ(PrivateDesktop::ArgumentsIn("out"), (Arguments{"a b", ";c", "$(d)", "`e`", "'f g'", "\"h\""}));
}

TEST(Run, AMissingProgramIsAnError) {
  for (const char* line : {"/no/such/program arg", "boxwright-no-such-program", "", "   "}) {
    EXPECT_EQ(RUN(line), 2) << line;
    EXPECT_EQ(ERRORCODE(), 2) << line;
  }
}

// Fake clipboard helpers on a private PATH: each records its arguments and its input.
class Clipboard : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directory("bin");
    setenv("PATH", (std::filesystem::current_path() / "bin").c_str(), 1);
    unsetenv("WAYLAND_DISPLAY");
    unsetenv("DISPLAY");
  }

  static void FakeHelper(const std::string& name, int status = 0) {
    std::string script = "#!/bin/sh\necho \"$*\" > " + name + ".args\n/bin/cat > " + name + ".in\nexit " +
                         std::to_string(status) + "\n";
    platform_test::WriteFileText("bin/" + name, script);
    ::chmod(("bin/" + name).c_str(), 0755);
  }
};

TEST_F(Clipboard, TextGoesToTheHelperOfTheDesktop) {
  FakeHelper("xclip");
  FakeHelper("xsel");
  FakeHelper("wl-copy");
  static constexpr char kText[] = "line 1\r\nquote \" $(x) \xc3\xa9\0end";
  const std::string text(kText, sizeof kText - 1);
  struct Case {
    const char* wayland;
    const char* display;
    const char* helper;
    const char* arguments;
  } cases[] = {
      {nullptr, ":7", "xclip", "-selection clipboard -in"},
      {"wayland-0", nullptr, "wl-copy", "--type text/plain;charset=utf-8"},
  };
  for (const auto& c : cases) {
    if (c.wayland) setenv("WAYLAND_DISPLAY", c.wayland, 1);
    if (c.display) setenv("DISPLAY", c.display, 1);
    EXPECT_EQ(SETCLIPBOARD(text), 0) << c.helper;
    EXPECT_EQ(platform_test::FileText(std::string(c.helper) + ".in"), text) << c.helper;
    EXPECT_EQ(platform_test::FileText(std::string(c.helper) + ".args"), std::string(c.arguments) + "\n");
    unsetenv("WAYLAND_DISPLAY");
    unsetenv("DISPLAY");
  }
}

TEST_F(Clipboard, NextHelperWhenOneIsMissingAndErrorsWhenNoneWorks) {
  setenv("DISPLAY", ":7", 1);
  FakeHelper("xsel");
  EXPECT_EQ(SETCLIPBOARD("kept"), 0);
  EXPECT_EQ(platform_test::FileText("xsel.in"), "kept");

  FakeHelper("xsel", 1);
  EXPECT_EQ(SETCLIPBOARD("kept"), 31);
  EXPECT_EQ(ERRORCODE(), 31);

  unsetenv("DISPLAY");
  EXPECT_EQ(SETCLIPBOARD("no display"), 2);
  EXPECT_EQ(ERRORCODE(), 2);
}

}  // namespace
