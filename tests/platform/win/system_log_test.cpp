#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <regex>

#include "platform/win/system/debug_output.h"
#include "platform/win/system/system_log.h"
#include "tests/support/system_log_listener.h"

namespace {

using test_support::SystemLogListener;

// What a syslog reader takes: priority 15 (user, debug), time, identity and process, text.
std::string Pattern(const std::string& text) {
  return R"(<15>(Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec) [ 1-3][0-9] [0-2][0-9]:[0-5][0-9]:[0-6][0-9] )"
         "boxwright\\[" + std::to_string(::getpid()) + "\\]: " + text;
}

class SystemLog : public ::testing::Test {
 protected:
  void SetUp() override { win::UseSystemLogSocket(log.Path()); }
  void TearDown() override { win::UseSystemLogSocket(""); }
  SystemLogListener log;
};

TEST_F(SystemLog, DebuggerLinesArriveOneMessageEachWithoutTheirLineEnd) {
  OutputDebugStringA("  It's going down... the ship's going down..... \r\n");
  OutputDebugStringA("[tx] no line end");
  OutputDebugStringA("two\nlines\n");
  const auto messages = log.Messages();
  ASSERT_EQ(messages.size(), 3u);
  EXPECT_TRUE(std::regex_match(messages[0], std::regex(Pattern(R"(  It's going down\.\.\. the ship's going down\.\.\.\.\. )"))))
      << messages[0];
  EXPECT_TRUE(std::regex_match(messages[1], std::regex(Pattern(R"(\[tx\] no line end)")))) << messages[1];
  EXPECT_TRUE(std::regex_match(messages[2], std::regex(Pattern("two\nlines")))) << messages[2];
}

TEST_F(SystemLog, NothingToSayIsNotSent) {
  for (const char* text : {"", "\r\n", "\n"}) OutputDebugStringA(text);
  EXPECT_TRUE(log.Messages().empty());
}

TEST_F(SystemLog, ACaptureTakesTheLinesInstead) {
  std::string seen;
  auto previous = win::SetDebugSink([&](std::string_view line) { seen += line; });
  OutputDebugStringA("captured\r\n");
  win::SetDebugSink(previous);
  EXPECT_EQ(seen, "captured\r\n");
  EXPECT_TRUE(log.Messages().empty());
}

TEST_F(SystemLog, NoDaemonLosesTheLinesAndALaterOneGetsThem) {
  SystemLogListener later;
  const std::string path = later.Path();
  {
    SystemLogListener gone;
    win::UseSystemLogSocket(gone.Path());
  }
  OutputDebugStringA("lost\r\n");  // nobody listens there any more
  win::UseSystemLogSocket(path);
  OutputDebugStringA("found\r\n");
  const auto messages = later.Messages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_TRUE(messages[0].ends_with(": found")) << messages[0];
}

TEST_F(SystemLog, ALogThatReadsNothingNeverHoldsTheProgramUp) {
  // The listener never reads: its queue fills after some hundred messages, and the rest
  // are dropped at once instead of waiting for room.
  const std::string line(1000, 'x');
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < 5000; ++i) OutputDebugStringA(line.c_str());
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  const auto messages = log.Messages();
  EXPECT_GT(messages.size(), 0u);
  EXPECT_LT(messages.size(), 5000u);
}

TEST(SystemLogSocket, AnUnusablePathIsIgnored) {
  for (const std::string& path : {std::string(), std::string(200, 'p'), std::string("/nonexistent/log")}) {
    win::UseSystemLogSocket(path);
    OutputDebugStringA("nowhere\r\n");  // must neither fail nor block
  }
  win::UseSystemLogSocket("");
}

}  // namespace
