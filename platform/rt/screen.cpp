#include "platform/rt/screen.h"

#include <mutex>

#include "platform/rt/quiet_screen.h"
#include "platform/win/windows/window.h"

namespace rt {
namespace {
std::mutex gLock;
std::unique_ptr<Screen>& Installed() {
  static std::unique_ptr<Screen> screen = std::make_unique<QuietScreen>();
  return screen;
}
}  // namespace

void QuietScreen::Wait(std::chrono::milliseconds upTo) { WaitMessageA(upTo); }

Screen& CurrentScreen() {
  std::lock_guard guard(gLock);
  return *Installed();
}

std::unique_ptr<Screen> UseScreen(std::unique_ptr<Screen> screen) {
  std::lock_guard guard(gLock);
  std::unique_ptr<Screen> previous = std::move(Installed());
  Installed() = screen ? std::move(screen) : std::make_unique<QuietScreen>();
  return previous;
}

}  // namespace rt
