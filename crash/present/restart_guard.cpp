#include "crash/present/restart_guard.h"

#include <time.h>

#include <charconv>
#include <cstdlib>
#include <string>

namespace crash {
namespace {

std::int64_t gRestartedAt = -1;  // from the environment at construction; -1: not a restart

// The marker's time, or -1 when the text is none.
std::int64_t MarkerTime(std::string_view marker) {
  if (marker.empty() || marker.find_first_not_of("0123456789") != std::string_view::npos) return -1;
  std::int64_t at = -1;
  auto [end, error] = std::from_chars(marker.data(), marker.data() + marker.size(), at);
  return error == std::errc() && end == marker.data() + marker.size() ? at : -1;
}

// A time still to come is no restart of this machine's run.
bool Recent(std::int64_t restartedAt, std::int64_t now) {
  return restartedAt >= 0 && restartedAt <= now && now - restartedAt < kRestartQuietSeconds;
}

}  // namespace

bool IsRecentRestart(std::string_view marker, std::int64_t now) { return Recent(MarkerTime(marker), now); }

std::int64_t SecondsSinceBoot() {
  timespec now{};
  ::clock_gettime(CLOCK_BOOTTIME, &now);
  return now.tv_sec;
}

void PrepareRestartGuard() {
  const char* marker = std::getenv(kRestartedAtName);
  gRestartedAt = marker != nullptr ? MarkerTime(marker) : -1;
}

bool RestartedMomentsAgo() { return Recent(gRestartedAt, SecondsSinceBoot()); }

void MarkRestart() { ::setenv(kRestartedAtName, std::to_string(SecondsSinceBoot()).c_str(), 1); }

}  // namespace crash
