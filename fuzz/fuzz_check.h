#pragma once
// FUZZ_CHECK: a rule every input must keep. A broken rule prints what failed and aborts, which
// libFuzzer records as a finding and the replay test reports as a failure.
#include <string>
#include <string_view>

namespace fuzz {
[[noreturn]] void Fail(const char* rule, const char* file, int line, const std::string& detail = {});
// Bytes as a readable text for a failure's detail: printable ASCII as it is, others as \xNN.
std::string Shown(std::string_view bytes);
}  // namespace fuzz

#define FUZZ_CHECK(rule, ...) \
  ((rule) ? void(0) : ::fuzz::Fail(#rule, __FILE__, __LINE__ __VA_OPT__(, ) __VA_ARGS__))
