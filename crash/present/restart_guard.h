#pragma once
// A program that faults again within moments of being restarted by its reporter is not
// restarted again: a fault at start-up would otherwise restart it for ever. The restarted
// program learns when it was restarted from its environment (kRestartedAtName, seconds since
// the machine started), read once at construction; the fault path only compares clocks.
#include <cstdint>
#include <string_view>

namespace crash {

inline constexpr const char* kRestartedAtName = "BOXWRIGHT_RESTARTED_AT";
// A fault this soon after a restart ends the program instead.
inline constexpr std::int64_t kRestartQuietSeconds = 10;

// Reads the environment (PrepareFaultSequence).
void PrepareRestartGuard();
// At fault time: whether this run is a restart less than kRestartQuietSeconds old.
bool RestartedMomentsAgo();
// In the presenting process, before it starts the program again: the new run's time.
void MarkRestart();

// Whether the marker text (the variable's value; anything but decimal digits is no marker)
// tells of a restart less than kRestartQuietSeconds before `now`.
bool IsRecentRestart(std::string_view marker, std::int64_t now);
// Seconds since the machine started (it goes on while the machine sleeps): the marker's clock.
std::int64_t SecondsSinceBoot();

}  // namespace crash
