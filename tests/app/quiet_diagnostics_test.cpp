// The program asked to end by a signal, as at every log-off, with its standard error kept:
// the diagnostic lines of the session's end are for whoever listens to the system log, or
// for the file the command line names, never for the terminal.
#include <gtest/gtest.h>
#include <signal.h>

#include <algorithm>

#include "tests/app/x_desktop.h"
#include "tests/support/file_text.h"
#include "tests/support/system_log_listener.h"

namespace app_test {
namespace {

using namespace std::chrono_literals;

// The beginnings of the two lines (a line loses its trailing blanks: with no arguments the
// first one ends at "cmd:").
const std::vector<std::string> kEndingLines = {"  ARE WE SERIOUSLY NOT GETTING HERE?????: cmd:",
                                               "  It's going down... the ship's going down..... "};

// Runs the program until its window shows, ends it with SIGTERM and gives its standard error.
std::string EndedBySignal(const XDesktop& desktop, const test_support::SystemLogListener& log,
                          const std::vector<std::string>& arguments) {
  std::vector<std::string> argv = {BOXWRIGHT_EXE};
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  test_support::StartedChild program(argv, desktop.On({.environment = {"BOXWRIGHT_SYSTEM_LOG=" + log.Path()}}));
  EXPECT_NE(desktop.WaitForWindow("Boxwright 1.01"), "");
  program.Signal(SIGTERM);
  const test_support::ChildRun run = program.Wait(20s);
  EXPECT_EQ(run.status, 0) << "a shutdown ends the program as a close does";
  return run.errors;
}

// How many of the messages hold the text.
std::size_t Holding(const std::vector<std::string>& messages, const std::string& text) {
  return std::count_if(messages.begin(), messages.end(),
                       [&](const std::string& m) { return m.find("]: " + text) != std::string::npos; });
}

TEST(QuietDiagnostics, TheEndOfASessionIsToldToTheSystemLogNotTheTerminal) {
  XDesktop desktop;
  ASSERT_TRUE(desktop.Ready());
  test_support::SystemLogListener log;
  const std::string errors = EndedBySignal(desktop, log, {});
  const std::vector<std::string> messages = log.Messages();
  for (const std::string& line : kEndingLines) {
    EXPECT_EQ(errors.find(line), std::string::npos) << errors;
    EXPECT_EQ(Holding(messages, line), 1u) << line;
  }
}

TEST(QuietDiagnostics, ADebugFileTakesTheLinesInstead) {
  XDesktop desktop;
  ASSERT_TRUE(desktop.Ready());
  test_support::SystemLogListener log;
  const std::string errors = EndedBySignal(desktop, log, {"DebugOutputFile=debug.log"});
  const std::string file = test_support::FileText("debug.log");
  const std::vector<std::string> messages = log.Messages();
  for (const std::string& line : kEndingLines) {
    EXPECT_EQ(errors.find(line), std::string::npos) << errors;
    EXPECT_NE(file.find(" " + line), std::string::npos) << file;
    EXPECT_EQ(Holding(messages, line), 0u) << line;
  }
}

}  // namespace
}  // namespace app_test
