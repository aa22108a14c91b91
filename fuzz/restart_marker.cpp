// The restart marker a restarted program finds in its environment (crash/present/restart_guard.h).
// Rules: any text is read without a fault; it tells of a recent restart exactly when it is
// decimal digits naming a second from kRestartQuietSeconds - 1 before `now` up to `now`.
#include <cstdint>
#include <string>

#include "crash/present/restart_guard.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Input input(data, size);
  const std::int64_t now = input.Word();
  const std::string marker = input.Rest();
  // The reference: digits only, read without leading zeros, small enough to be a time.
  bool recent = !marker.empty() && marker.find_first_not_of("0123456789") == std::string::npos;
  if (recent) {
    const std::string digits = marker.substr(std::min(marker.find_first_not_of('0'), marker.size()));
    const std::int64_t at = digits.empty() ? 0 : digits.size() > 12 ? -1 : std::stoll(digits);
    recent = at >= 0 && at <= now && now - at < crash::kRestartQuietSeconds;
  }
  FUZZ_CHECK(crash::IsRecentRestart(marker, now) == recent, fuzz::Shown(marker));
  return 0;
}
