#pragma once
// FUZZ_CHECK: a rule every input must keep. A broken rule prints what failed and aborts, which
// libFuzzer records as a finding and the replay test reports as a failure.
#include <string>

namespace fuzz {
[[noreturn]] void Fail(const char* rule, const char* file, int line, const std::string& detail = {});
}  // namespace fuzz

#define FUZZ_CHECK(rule, ...) \
  ((rule) ? void(0) : ::fuzz::Fail(#rule, __FILE__, __LINE__ __VA_OPT__(, ) __VA_ARGS__))
