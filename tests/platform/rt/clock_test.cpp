#include <gtest/gtest.h>

#include "platform/rt/clock.h"

namespace {

TEST(Clock, CountsHundredthsFromOneAtMidnightAndDaysFrom1800) {
  auto driven = std::make_shared<rt::DrivenClock>();
  auto previous = rt::UseClock(driven);
  driven->Set(4, 0);  // 1 January 1801, midnight
  EXPECT_EQ(TODAY(), 4);
  EXPECT_EQ(CLOCK(), 1);
  driven->Set(61730 + 20454, (14 * 3600 + 5 * 60 + 9) * 100 + 7);  // 14:05:09.07 on 1 January 2026
  EXPECT_EQ(CLOCK(), 5070908);
  driven->Advance(24 * 3600 * 100 - 1);
  EXPECT_EQ(TODAY(), 61730 + 20455);
  EXPECT_EQ(CLOCK(), 5070907);
  rt::UseClock(previous);
  EXPECT_GE(CLOCK(), 1);
  EXPECT_LE(CLOCK(), 8640000);
  EXPECT_GT(TODAY(), 61730 + 20000);
}

}  // namespace
