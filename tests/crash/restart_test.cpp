// The restart after a fault, where a program switches it on: the new run gets exactly the
// arguments the old one had, and a run that faults again at once is not restarted again.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "crash/present/restart_guard.h"
#include "tests/crash/fault_run.h"
#include "tests/support/file_text.h"
#include "tests/support/short_folder.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

std::size_t Count(const std::string& text, const std::string& part) {
  std::size_t n = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

// The arguments of every run the fault program recorded (RecordArguments), once `runs` have
// come and the last has had time to start another.
std::vector<std::vector<std::string>> RecordedRuns(const fs::path& folder, std::size_t runs) {
  for (int tries = 0; tries < 200 && Count(test_support::FileText("Faultscribe.log"), "Reported error") < runs; ++tries)
    std::this_thread::sleep_for(50ms);
  std::this_thread::sleep_for(1500ms);  // well within the quiet time, where a third run would have come
  std::vector<std::vector<std::string>> recorded;
  for (const auto& file : fs::directory_iterator(folder)) {
    std::string text = test_support::FileText(file.path());
    std::vector<std::string> arguments;
    for (std::size_t at = 0, end; (end = text.find('\0', at)) != std::string::npos; at = end + 1)
      arguments.push_back(text.substr(at, end - at));
    recorded.push_back(arguments);
  }
  return recorded;
}

// A hundred arguments of a hundred and fifty characters and more: blanks, quotes, tabs,
// backslashes, an empty one.
std::vector<std::string> LongArguments() {
  std::vector<std::string> arguments;
  for (int i = 0; i < 100; ++i) {
    std::string argument = "argument " + std::to_string(i) + " \"quoted\" \t back\\slash ";
    argument += std::string(150, static_cast<char>('a' + i % 26));
    arguments.push_back(i == 50 ? std::string() : argument);
  }
  return arguments;
}

TEST(Restart, TheNewRunGetsEveryArgumentAndAFaultAtOnceEndsIt) {
  test_support::ShortFolder runs;
  std::vector<std::string> settings = {"RestartProgram=1", "DumpFileAppend=1", "RecordArguments=" + runs.Path().string()};
  const std::vector<std::string> given = LongArguments();
  settings.insert(settings.end(), given.begin(), given.end());
  // One answer for each run's box: the restarted run carries on the same script.
  crashtest::FaultOutcome first = crashtest::Run(
      {.fault = "nullread", .settings = settings, .script = "answer message \"OK\"\nanswer message \"OK\"\n"});
  EXPECT_EQ(crashtest::ExitStatus(first), 139);

  const auto recorded = RecordedRuns(runs.Path(), 2);
  ASSERT_EQ(recorded.size(), 2u) << "one restart, and no restart of the restart";
  std::vector<std::string> expected = {"nullread", "TrapAllocations=1"};
  expected.insert(expected.end(), settings.begin(), settings.end());
  EXPECT_EQ(recorded[0], expected);
  EXPECT_EQ(recorded[1], expected);
  // Each box tells what comes: the first run is restarted, the second ends.
  const std::string transcript = test_support::FileText("transcript.jsonl");
  EXPECT_EQ(Count(transcript, "will now be restarted."), 1u) << transcript;
  EXPECT_EQ(Count(transcript, "will now end."), 1u) << transcript;
  EXPECT_LT(transcript.find("will now be restarted."), transcript.find("will now end."));
}

TEST(Restart, ARunRestartedLongEnoughAgoIsRestartedAgain) {
  test_support::ShortFolder runs;
  const std::string longAgo = std::to_string(crash::SecondsSinceBoot() - crash::kRestartQuietSeconds);
  crashtest::Run({.fault = "nullread",
                  .settings = {"RestartProgram=1", "CloseQuietly=1", "DumpFileAppend=1",
                               "RecordArguments=" + runs.Path().string()},
                  .environment = {std::string(crash::kRestartedAtName) + "=" + longAgo}});
  EXPECT_EQ(RecordedRuns(runs.Path(), 2).size(), 2u);
}

TEST(Restart, OnlyADecimalTimeOfTheLastFewSecondsIsARecentRestart) {
  const std::int64_t now = 5000;
  struct Case {
    std::string marker;
    bool recent;
  };
  const Case cases[] = {
      {"5000", true},  {"4991", true},   {"4990", false}, {"5001", false},  {"", false},
      {"-4995", false}, {" 4995", false}, {"4995x", false}, {"0x1387", false}, {"99999999999999999999999", false},
  };
  for (const Case& c : cases) EXPECT_EQ(crash::IsRecentRestart(c.marker, now), c.recent) << c.marker;
}

}  // namespace
