#include "platform/rt/command.h"

#include <mutex>

#include "platform/win/system/ascii_text.h"

namespace {
std::mutex gLock;
std::vector<std::string> gArgv;

// A switch matches an argument written with either "/" or "-" in front.
bool IsSwitch(std::string_view arg, std::string_view name) {
  if (arg.empty() || (arg[0] != '/' && arg[0] != '-')) return false;
  return win::EqualNoCase(arg.substr(1), name.substr(1));
}
}  // namespace

std::string COMMAND(std::string_view which) {
  std::lock_guard guard(gLock);
  if (which == "0") return gArgv.empty() ? std::string() : gArgv.front();
  if (which.empty()) {
    std::string all;
    for (std::size_t i = 1; i < gArgv.size(); ++i) {
      if (i > 1) all += ' ';
      all += gArgv[i];
    }
    return all;
  }
  for (std::size_t i = 1; i < gArgv.size(); ++i) {
    std::string_view arg = gArgv[i];
    if (which[0] == '/' || which[0] == '-') {
      if (IsSwitch(arg, which)) return std::string(arg);
      continue;
    }
    std::size_t eq = arg.find('=');
    if (eq != std::string_view::npos && win::EqualNoCase(arg.substr(0, eq), which)) {
      return std::string(arg.substr(eq + 1));
    }
  }
  return {};
}

namespace rt {
const std::vector<std::string>& CommandLineArguments() { return gArgv; }

void SetCommandLine(std::vector<std::string> argv) {
  std::lock_guard guard(gLock);
  gArgv = std::move(argv);
}
}  // namespace rt
