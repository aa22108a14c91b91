#include <gtest/gtest.h>

#include <chrono>

#include "platform/win/system/timing.h"

namespace {

TEST(Timing, TheCounterRunsAtTenMegahertz) {
  std::int64_t frequency = 0;
  ASSERT_TRUE(QueryPerformanceFrequency(&frequency));
  EXPECT_EQ(frequency, 10'000'000);
  std::int64_t before = 0;
  std::int64_t after = 0;
  ASSERT_TRUE(QueryPerformanceCounter(&before));
  Sleep(20);
  ASSERT_TRUE(QueryPerformanceCounter(&after));
  EXPECT_GE(after - before, 200'000);  // 20 ms
  EXPECT_LT(after - before, 10'000'000);
}

TEST(Timing, SleepWaitsAtLeastItsTime) {
  auto start = std::chrono::steady_clock::now();
  Sleep(15);
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(15));
}

}  // namespace
