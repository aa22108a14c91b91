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

std::string Shown(std::string_view bytes) {
  std::string text;
  for (char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    if (b >= 0x20 && b < 0x7F && b != '\\') {
      text += c;
    } else {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", b);
      text += escaped;
    }
  }
  return text;
}

}  // namespace fuzz
