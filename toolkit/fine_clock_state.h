#pragma once
// Inside the toolkit: the fine clock's state over the sources it reads, so that tests can
// give it counters and a clock of their own.
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>

#include "platform/win/types.h"

namespace hw {

struct FineClockSources {
  std::function<std::optional<std::int64_t>()> frequency;  // performance-counter ticks per second
  std::function<std::optional<std::int64_t>()> counter;    // performance-counter reading
  std::function<REAL()> cycles;                             // processor time-stamp counter
  std::function<LONG()> clock;                              // CLOCK()
  std::function<void(REAL)> sleep;                          // kx_Sleep
};

class FineClock {
 public:
  explicit FineClock(FineClockSources sources) : sources_(std::move(sources)) {}
  REAL Read(BYTE useCpuTimeStamp, BYTE resyncTime);

 private:
  struct Anchor {
    REAL count = 0;
    LONG clock = 0;
  };
  // Takes the performance counter's frequency; none (or not above 0) means no fast clock.
  bool ReadFrequency();
  REAL ReadCounterPath(BYTE resyncTime);
  REAL ReadTimeStampPath(BYTE resyncTime);
  void CalibrateTimeStamp();
  // Waits for CLOCK()'s next tick, at most two of its steps as `read` counts them (a clock
  // that stands still never ends the wait), and takes the reading and the clock there.
  Anchor AnchorOn(const std::function<std::optional<REAL>()>& read, REAL countsPerHundredth) const;
  std::optional<REAL> Counter() const;

  FineClockSources sources_;
  std::mutex lock_;
  bool FREQUENCYREAD = false;
  bool CPUFREQUENCYREAD = false;
  bool NOFASTCLOCK = false;
  std::int64_t LPFREQUENCY = 0;
  REAL FREQUENCY = 0;  // performance-counter ticks per hundredth
  Anchor counterAnchor_;
  REAL CPUFREQUENCY = 0;  // time-stamp counts per hundredth
  Anchor cpuAnchor_;
};

// The milliseconds that kx_Sleep waits for `hundredths`.
DWORD SleepMilliseconds(REAL hundredths);

}  // namespace hw
