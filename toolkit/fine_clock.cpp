#include "toolkit/fine_clock.h"

#include <cmath>
#include <cstdio>

#include "platform/rt/clock.h"
#include "platform/win/system/timing.h"
#include "toolkit/fine_clock_state.h"

#if defined(__x86_64__) || defined(__i386__)
#include <x86intrin.h>
#else
#include <time.h>
#endif

namespace {

constexpr REAL kHundredthsPerDay = 8640000;
constexpr REAL kCalibrationTicks = 10000;  // performance-counter ticks the calibration runs for
constexpr LONG kDefaultPlaces = 6;
constexpr LONG kMostPlaces = 18;

REAL ReadCycleCounter() {
#if defined(__x86_64__) || defined(__i386__)
  return static_cast<REAL>(static_cast<std::int64_t>(__rdtsc()));
#else
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC_RAW, &now);
  return static_cast<REAL>(now.tv_sec) * 1e9 + static_cast<REAL>(now.tv_nsec);
#endif
}

// The machine's counters and the runtime's clock.
hw::FineClockSources MachineSources() {
  auto reading = [](BOOL (*query)(std::int64_t*)) {
    return [query]() -> std::optional<std::int64_t> {
      std::int64_t value = 0;
      return query(&value) ? std::optional(value) : std::nullopt;
    };
  };
  return {reading(QueryPerformanceFrequency), reading(QueryPerformanceCounter), ReadCycleCounter, CLOCK, kx_Sleep};
}

hw::FineClock& ProcessFineClock() {
  static hw::FineClock clock(MachineSources());  // set up once, safely, by the first caller
  return clock;
}

}  // namespace

namespace hw {

std::optional<REAL> FineClock::Counter() const {
  std::optional<std::int64_t> count = sources_.counter();
  return count ? std::optional(static_cast<REAL>(*count)) : std::nullopt;
}

FineClock::Anchor FineClock::AnchorOn(const std::function<std::optional<REAL>()>& read,
                                      REAL countsPerHundredth) const {
  LONG start = sources_.clock();
  std::optional<REAL> began = read();
  for (std::optional<REAL> now = began; sources_.clock() == start && began && now;) {
    if (*now - *began >= 2 * countsPerHundredth) break;
    now = read();
  }
  return {read().value_or(0), sources_.clock()};
}

REAL FineClock::Read(BYTE useCpuTimeStamp, BYTE resyncTime) {
  std::lock_guard guard(lock_);
  return useCpuTimeStamp ? ReadTimeStampPath(resyncTime) : ReadCounterPath(resyncTime);
}

bool FineClock::ReadFrequency() {
  std::optional<std::int64_t> frequency = sources_.frequency();
  if (!frequency || *frequency <= 0) {
    NOFASTCLOCK = true;
    return false;
  }
  LPFREQUENCY = *frequency;
  return true;
}

REAL FineClock::ReadCounterPath(BYTE resyncTime) {
  auto counter = [this] { return Counter(); };
  if (!FREQUENCYREAD) {
    FREQUENCYREAD = true;
    if (ReadFrequency()) {
      FREQUENCY = static_cast<REAL>(LPFREQUENCY) / 100;
      if (Counter()) {
        counterAnchor_ = AnchorOn(counter, FREQUENCY);
      } else {
        NOFASTCLOCK = true;
      }
    }
  }
  if (NOFASTCLOCK) return sources_.clock();
  if (resyncTime) counterAnchor_ = AnchorOn(counter, FREQUENCY);
  std::optional<REAL> now = Counter();
  if (!now) return sources_.clock();
  return (*now - counterAnchor_.count) / FREQUENCY + counterAnchor_.clock;
}

void FineClock::CalibrateTimeStamp() {
  std::optional<REAL> startTicks = NOFASTCLOCK ? std::nullopt : Counter();
  REAL startCycles = sources_.cycles();
  if (!startTicks) {
    sources_.sleep(1.0);
    CPUFREQUENCY = sources_.cycles() - startCycles;
    return;
  }
  REAL ticks = 0;
  REAL cycles = 0;
  while (ticks <= kCalibrationTicks) {
    std::optional<REAL> now = Counter();
    cycles = sources_.cycles() - startCycles;
    if (!now) break;
    ticks = *now - *startTicks;
  }
  if (ticks > 0) CPUFREQUENCY = cycles / (ticks / static_cast<REAL>(LPFREQUENCY)) / 100;
}

REAL FineClock::ReadTimeStampPath(BYTE resyncTime) {
  auto cycles = [this] { return std::optional(sources_.cycles()); };
  if (!CPUFREQUENCYREAD) {
    CPUFREQUENCYREAD = true;
    ReadFrequency();
    CalibrateTimeStamp();
    cpuAnchor_ = AnchorOn(cycles, CPUFREQUENCY);
  }
  // A time-stamp counter that did not move while calibrating cannot tell time.
  if (!(CPUFREQUENCY > 0)) return sources_.clock();
  if (resyncTime) cpuAnchor_ = AnchorOn(cycles, CPUFREQUENCY);
  return (sources_.cycles() - cpuAnchor_.count) / CPUFREQUENCY + cpuAnchor_.clock;
}

DWORD SleepMilliseconds(REAL hundredths) {
  REAL milliseconds = hundredths * 10;
  if (!(milliseconds > 0)) return 0;  // negative, zero, not a number
  // A product such as 2.3 x 10 = 22.999999999999996 means 23.
  milliseconds = std::trunc(milliseconds + 1e-9);
  return milliseconds >= 0xFFFFFFFE ? 0xFFFFFFFE : static_cast<DWORD>(milliseconds);
}

}  // namespace hw

void kx_Sleep(REAL hundredths) { Sleep(hw::SleepMilliseconds(hundredths)); }

REAL kx_FastClock(BYTE useCpuTimeStamp, BYTE resyncTime) { return ProcessFineClock().Read(useCpuTimeStamp, resyncTime); }

std::string kx_FormatFastTime(REAL fastTime, LONG places) {
  if (places < 0) places = 0;
  if (places > kMostPlaces) places = kMostPlaces;
  REAL t = std::isfinite(fastTime) ? std::fmod(fastTime, kHundredthsPerDay) : 0;
  if (t < 0) t += kHundredthsPerDay;
  if (t >= kHundredthsPerDay) t = 0;  // a tiny negative value rounds up to a whole day
  // Hours and minutes come from the whole value, so a whole minute shows itself. The seconds
  // are written from their hundredths, which the value holds exactly, and the fraction of a
  // hundredth, so that 2907.5 hundredths read 29.075 and not 29.074999...
  REAL hundredths = std::fmod(t, 6000);
  REAL wholeHundredths = std::floor(hundredths);
  char fraction[24];
  std::snprintf(fraction, sizeof fraction, "%.16f", hundredths - wholeHundredths);
  const char* fractionDigits = fraction[0] == '0' ? fraction + 2 : "9999999999999999";  // never rounds up to 1
  auto minutes = static_cast<int>(t / 6000);
  auto whole = static_cast<int>(wholeHundredths);
  char text[96];  // room for any int the compiler cannot rule out, so nothing is ever cut
  std::snprintf(text, sizeof text, "%02d:%02d:%02d.%02d%s", minutes / 60, minutes % 60, whole / 100, whole % 100,
                fractionDigits);
  return std::string(text, 9 + static_cast<std::size_t>(places));
}
