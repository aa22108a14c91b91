#include "platform/rt/clock.h"

#include <chrono>
#include <ctime>
#include <mutex>

namespace {
constexpr std::int64_t kHundredthsPerDay = 24LL * 60 * 60 * 100;
// Days from 28 December 1800 to 1 January 1970.
constexpr LONG kUnixEpochDay = 61730;
// 1 January 2026 in the runtime's day numbers.
constexpr LONG kDrivenStartDay = kUnixEpochDay + 20454;

std::mutex gClockLock;
std::shared_ptr<rt::Clock> gClock = std::make_shared<rt::SystemClock>();
// The same clock for the fault path, which takes no lock; and the zone's offset as last
// read, since the zone's own reading takes one.
std::atomic<rt::Clock*> gClockForFaults{nullptr};
std::atomic<long> gZoneOffset{0};

struct LocalNow {
  LONG day;
  LONG hundredths;
};

LocalNow ReadLocalNow() {
  auto now = std::chrono::system_clock::now();
  std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  std::tm local{};
  localtime_r(&seconds, &local);
  gZoneOffset.store(local.tm_gmtoff);
  auto sinceSecond = now - std::chrono::system_clock::from_time_t(seconds);
  auto hundredths = std::chrono::duration_cast<std::chrono::milliseconds>(sinceSecond).count() / 10;
  // The local calendar day: shift the UTC day count by the zone's offset.
  std::int64_t localSeconds = static_cast<std::int64_t>(seconds) + local.tm_gmtoff;
  auto day = static_cast<LONG>(kUnixEpochDay + (localSeconds >= 0 ? localSeconds / 86400 : (localSeconds - 86399) / 86400));
  LONG ofDay = (local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec) * 100 + static_cast<LONG>(hundredths);
  return {day, ofDay};
}
}  // namespace

LONG CLOCK() { return rt::CurrentClock()->TimeOfDay() + 1; }
LONG TODAY() { return rt::CurrentClock()->Today(); }

namespace rt {

std::int64_t SystemClock::Ticks() const {
  auto since = std::chrono::steady_clock::now().time_since_epoch();
  return std::chrono::duration_cast<std::chrono::milliseconds>(since).count() / 10;
}
LONG SystemClock::Today() const { return ReadLocalNow().day; }
LONG SystemClock::TimeOfDay() const { return ReadLocalNow().hundredths; }

DrivenClock::DrivenClock() : base_(kDrivenStartDay * kHundredthsPerDay + 12LL * 3600 * 100) {}

std::int64_t DrivenClock::Ticks() const { return ticks_; }
LONG DrivenClock::Today() const { return static_cast<LONG>((base_ + ticks_) / kHundredthsPerDay); }
LONG DrivenClock::TimeOfDay() const { return static_cast<LONG>((base_ + ticks_) % kHundredthsPerDay); }

void DrivenClock::Advance(std::int64_t hundredths) {
  if (hundredths > 0) ticks_ += hundredths;
}

void DrivenClock::Set(LONG today, LONG timeOfDay) {
  base_ = static_cast<std::int64_t>(today) * kHundredthsPerDay + timeOfDay - ticks_.load();
}

std::shared_ptr<Clock> UseClock(std::shared_ptr<Clock> clock) {
  std::lock_guard guard(gClockLock);
  auto previous = gClock;
  gClock = clock ? std::move(clock) : std::make_shared<SystemClock>();
  gClockForFaults.store(dynamic_cast<SystemClock*>(gClock.get()) ? nullptr : gClock.get());
  return previous;
}

void ReadClockForFault(LONG& today, LONG& clock) {
  if (Clock* installed = gClockForFaults.load()) {
    today = installed->Today();
    clock = installed->TimeOfDay() + 1;
    return;
  }
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  std::int64_t local = static_cast<std::int64_t>(now.tv_sec) + gZoneOffset.load();
  std::int64_t day = local >= 0 ? local / 86400 : (local - 86399) / 86400;
  today = static_cast<LONG>(kUnixEpochDay + day);
  clock = static_cast<LONG>((local - day * 86400) * 100 + now.tv_nsec / 10000000) + 1;
}

std::shared_ptr<Clock> CurrentClock() {
  std::lock_guard guard(gClockLock);
  return gClock;
}

}  // namespace rt
