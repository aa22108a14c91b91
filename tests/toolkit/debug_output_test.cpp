#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <thread>

#include "platform/rt/clock.h"
#include "tests/support/file_text.h"
#include "tests/support/short_folder.h"
#include "toolkit/debug_output.h"
#include "toolkit_test_support.h"

namespace {

// A thread looks the file name up with its first line, so every case writes on new threads.
TEST(DebugOutput, WithoutAFileLinesGoToTheDebuggerUnstamped) {
  DebugCapture debug;
  std::thread([] {
    kx_OutputDebugString("abc   ", 1);
    kx_OutputDebugString("   ", 0);
    kx_OutputDebugString("def", 0);
  }).join();
  EXPECT_EQ(debug.text, "abc\r\ndef");
}

class DebugFile : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = rt::UseClock(clock_);
    clock_->Set(TODAY(), ((14 * 60 + 5) * 60 + 9) * 100 + 7);  // 14:05:09.07
  }
  void TearDown() override { rt::UseClock(previous_); }

  test_support::ShortFolder folder_;
  std::string file_ = (folder_ / "debug.log").string();
  std::shared_ptr<rt::DrivenClock> clock_ = std::make_shared<rt::DrivenClock>();
  std::shared_ptr<rt::Clock> previous_;
};

TEST_F(DebugFile, LinesAreStampedAndAppended) {
  CommandLine command({"DebugOutputFile=" + file_});
  std::thread([] {
    kx_OutputDebugString("abc", 1);
    kx_OutputDebugString("   ", 0);
  }).join();
  EXPECT_EQ(test_support::FileText(file_), "14:05:09:8 abc\r\n14:05:09:8 ");
  std::thread([] { kx_OutputDebugString(std::string(2500, 'x'), 0); }).join();
  EXPECT_EQ(test_support::FileText(file_).size(), 27u + 11u + 2500u);
}

TEST_F(DebugFile, ThreadsShareTheFileWithoutTruncatingIt) {
  { std::ofstream(file_) << "kept\n"; }
  CommandLine command({"DebugOutputFile=" + file_});
  std::vector<std::thread> threads;
  for (char c : {'a', 'b', 'c', 'd'}) {
    threads.emplace_back([c] {
      for (int i = 0; i < 50; ++i) kx_OutputDebugString(std::string(3000, c), 1);
    });
  }
  for (auto& t : threads) t.join();
  std::string text = test_support::FileText(file_);
  ASSERT_TRUE(text.starts_with("kept\n"));
  std::istringstream lines(text.substr(5));
  int count = 0;
  for (std::string line; std::getline(lines, line); ++count) {
    ASSERT_EQ(line.size(), 11u + 3000u + 1u);  // stamp, text, CR
    EXPECT_EQ(line.find_first_not_of(line[11], 11), line.size() - 1) << "lines interleaved";
  }
  EXPECT_EQ(count, 200);
}

TEST_F(DebugFile, AFileThatCannotBeOpenedSendsLinesToTheDebugger) {
  DebugCapture debug;
  CommandLine command({"DebugOutputFile=" + (folder_ / "no/such/dir/debug.log").string()});
  std::thread([] {
    kx_OutputDebugString("one", 1);
    kx_OutputDebugString("two", 1);
  }).join();
  EXPECT_EQ(debug.text, "one\r\ntwo\r\n");
}

}  // namespace
