#pragma once
// The runtime's clock. CLOCK() is the time of day in hundredths of a second counted from 1
// at midnight; TODAY() counts days from 28 December 1800 (1 January 1801 is day 4).
// Window timers run on the clock's tick count, so a driven clock drives them too.
#include <atomic>
#include <cstdint>
#include <memory>

#include "platform/win/types.h"

LONG CLOCK();
LONG TODAY();

namespace rt {

class Clock {
 public:
  virtual ~Clock() = default;
  // Hundredths since an arbitrary start; never goes back.
  virtual std::int64_t Ticks() const = 0;
  virtual LONG Today() const = 0;
  // Hundredths since midnight, from 0.
  virtual LONG TimeOfDay() const = 0;
};

// The wall clock (local time).
class SystemClock final : public Clock {
 public:
  std::int64_t Ticks() const override;
  LONG Today() const override;
  LONG TimeOfDay() const override;
};

// A clock that moves only when told to; tests and the scripted screen use it.
// It starts at 12:00:00.00 on 1 January 2026.
class DrivenClock final : public Clock {
 public:
  DrivenClock();
  std::int64_t Ticks() const override;
  LONG Today() const override;
  LONG TimeOfDay() const override;

  void Advance(std::int64_t hundredths);
  // Sets the date (TODAY units) and the time of day (hundredths from 0) without moving Ticks.
  void Set(LONG today, LONG timeOfDay);

 private:
  std::atomic<std::int64_t> ticks_{0};
  std::atomic<std::int64_t> base_;  // hundredths from day 0 at tick 0
};

// The clock every thread reads; the system clock unless one is installed. Returns the
// previous one. Install before threads use the runtime's timers.
std::shared_ptr<Clock> UseClock(std::shared_ptr<Clock> clock);
std::shared_ptr<Clock> CurrentClock();
// TODAY() and CLOCK() for a fault handler: no lock and no heap. The wall clock's zone offset
// is the one last read by the runtime (read CLOCK() once ahead).
void ReadClockForFault(LONG& today, LONG& clock);

}  // namespace rt
