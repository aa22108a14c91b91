#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <limits>

#include "platform/rt/clock.h"
#include "toolkit/fine_clock.h"
#include "toolkit/fine_clock_state.h"

namespace {

// A machine whose time moves 10 microseconds with every reading of its performance counter
// (10 MHz) or its clock; the time-stamp counter (3 GHz) reads the same time.
struct FakeMachine {
  REAL now = 4321.5;  // hundredths since midnight
  bool hasCounter = true;
  bool clockStands = false;

  REAL Step() { return now += 0.001; }
  hw::FineClockSources Sources() {
    return {[this]() -> std::optional<std::int64_t> {
              if (!hasCounter) return std::nullopt;
              return 10'000'000;
            },
            [this]() -> std::optional<std::int64_t> {
              if (!hasCounter) return std::nullopt;
              return static_cast<std::int64_t>(Step() * 100'000);
            },
            [this] { return now * 30'000'000; },
            [this] { return clockStands ? (Step(), LONG{500}) : static_cast<LONG>(std::floor(Step())) + 1; },
            [this](REAL hundredths) { now += hundredths; }};
  }
};

TEST(FineClock, BothPathsFollowTheClockWithAFraction) {
  for (BYTE timeStamp : {0, 1}) {
    for (bool counter : {true, false}) {
      if (!timeStamp && !counter) continue;
      FakeMachine machine;
      machine.hasCounter = counter;
      hw::FineClock clock(machine.Sources());
      REAL previous = 0;
      for (int i = 0; i < 5; ++i) {
        REAL value = clock.Read(timeStamp, 0);
        EXPECT_NEAR(value, machine.now + 1, 0.01) << int(timeStamp) << counter;
        EXPECT_GT(value, previous);
        previous = value;
        machine.now += 37.25;
      }
    }
  }
}

TEST(FineClock, WithoutACounterTheCounterPathIsTheClock) {
  FakeMachine machine;
  machine.hasCounter = false;
  hw::FineClock clock(machine.Sources());
  for (int i = 0; i < 3; ++i) {
    REAL value = clock.Read(0, 0);
    EXPECT_EQ(value, std::floor(value));
    EXPECT_EQ(value, std::floor(machine.now) + 1);
    machine.now += 12.5;
  }
}

TEST(FineClock, AClockThatStandsStillDoesNotHoldTheAnchor) {
  FakeMachine machine;
  machine.clockStands = true;
  hw::FineClock clock(machine.Sources());
  EXPECT_NEAR(clock.Read(0, 0), 500, 0.1);
  EXPECT_NEAR(clock.Read(1, 1), 500, 0.1);
}

TEST(FineClock, AResyncMovesTheAnchor) {
  FakeMachine machine;
  hw::FineClock clock(machine.Sources());
  clock.Read(0, 0);
  machine.clockStands = true;  // the clock was set back to 500
  EXPECT_NEAR(clock.Read(0, 0), machine.now + 1, 0.01);
  EXPECT_NEAR(clock.Read(0, 1), 500, 0.1);
}

TEST(FineClock, TheMachinesClockAgreesWithClock) {
  for (BYTE timeStamp : {0, 1}) {
    REAL first = kx_FastClock(timeStamp, 0);
    LONG platform = CLOCK();
    REAL second = kx_FastClock(timeStamp, 0);
    EXPECT_GE(second, first);
    EXPECT_LT(second - first, 1.0);
    EXPECT_NEAR(first, platform, 2.0);  // within a tick or two (the test does not run at midnight)
  }
}

TEST(FineClock, SleepTimes) {
  struct Case {
    REAL hundredths;
    DWORD milliseconds;
  } cases[] = {
      {1.0, 10}, {0.15, 1}, {0, 0}, {0.09, 0}, {2.3, 23}, {-1, 0},
      {std::numeric_limits<REAL>::quiet_NaN(), 0}, {1e12, 0xFFFFFFFE},
  };
  for (const auto& c : cases) EXPECT_EQ(hw::SleepMilliseconds(c.hundredths), c.milliseconds) << c.hundredths;
  auto start = std::chrono::steady_clock::now();
  kx_Sleep(1.0);
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(10));
}

TEST(FineClock, FormattedTimes) {
  struct Case {
    REAL time;
    LONG places;
    const char* text;
  } cases[] = {
      {3000, 6, "00:00:30.000000"},
      {3000, 2, "00:00:30.00"},
      {3000, 0, "00:00:30."},
      {3000, -1, "00:00:30."},
      {3000, 40, "00:00:30.000000000000000000"},
      {6000, 6, "00:01:00.000000"},  // a whole minute is that minute
      {360000, 6, "01:00:00.000000"},
      {5054907.5, 6, "14:02:29.075000"},
      {8640000 + 3000, 6, "00:00:30.000000"},
      {-3000, 6, "23:59:30.000000"},
      {-1e-12, 6, "00:00:00.000000"},
      {1234.5678999, 6, "00:00:12.345678"},  // cut, not rounded
      {8639999.999, 3, "23:59:59.999"},
  };
  for (const auto& c : cases) EXPECT_EQ(kx_FormatFastTime(c.time, c.places), c.text) << c.time << " " << c.places;
  EXPECT_EQ(kx_FormatFastTime(3000), "00:00:30.000000");
}

}  // namespace
