#include "platform/win/system/timing.h"

#include <sched.h>
#include <time.h>

#include <cerrno>

namespace {
constexpr std::int64_t kTicksPerSecond = 10'000'000;
constexpr std::int64_t kNanosecondsPerTick = 1'000'000'000 / kTicksPerSecond;
}  // namespace

BOOL QueryPerformanceFrequency(std::int64_t* frequency) {
  if (frequency == nullptr) return FALSE;
  *frequency = kTicksPerSecond;
  return TRUE;
}

BOOL QueryPerformanceCounter(std::int64_t* count) {
  timespec now{};
  if (count == nullptr || clock_gettime(CLOCK_MONOTONIC, &now) != 0) return FALSE;
  *count = static_cast<std::int64_t>(now.tv_sec) * kTicksPerSecond + now.tv_nsec / kNanosecondsPerTick;
  return TRUE;
}

void Sleep(DWORD milliseconds) {
  if (milliseconds == 0) {
    sched_yield();
    return;
  }
  timespec wait{static_cast<time_t>(milliseconds / 1000), static_cast<long>(milliseconds % 1000) * 1'000'000};
  while (nanosleep(&wait, &wait) != 0 && errno == EINTR) {
  }
}
