#include "platform/win/files/leftover_name.h"

#include <unistd.h>

#include <atomic>
#include <charconv>

namespace win {
namespace {

constexpr std::string_view kMark = ".tmp-";

bool AllDigits(std::string_view text) { return !text.empty() && text.find_first_not_of("0123456789") == text.npos; }

}  // namespace

std::string LeftoverName(const std::string& target) {
  static std::atomic<unsigned> counter{0};
  return target + std::string(kMark) + std::to_string(::getpid()) + "-" + std::to_string(counter++);
}

pid_t LeftoverOwner(std::string_view entry, std::string_view name) {
  if (entry.size() <= name.size() + kMark.size() || entry.substr(0, name.size()) != name ||
      entry.substr(name.size(), kMark.size()) != kMark) {
    return 0;
  }
  std::string_view rest = entry.substr(name.size() + kMark.size());
  std::size_t dash = rest.find('-');
  if (dash == rest.npos || !AllDigits(rest.substr(0, dash)) || !AllDigits(rest.substr(dash + 1))) return 0;
  pid_t pid = 0;
  auto [end, error] = std::from_chars(rest.data(), rest.data() + dash, pid);
  return error == std::errc() && end == rest.data() + dash ? pid : 0;
}

}  // namespace win
