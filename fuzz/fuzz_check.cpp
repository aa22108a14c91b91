#include "fuzz/fuzz_check.h"

#include <cstdio>
#include <cstdlib>

namespace fuzz {

void Fail(const char* rule, const char* file, int line, const std::string& detail) {
  std::fprintf(stderr, "%s:%d: rule broken: %s\n", file, line, rule);
  if (!detail.empty()) std::fprintf(stderr, "  %s\n", detail.c_str());
  std::fflush(stderr);
  std::abort();
}

}  // namespace fuzz
