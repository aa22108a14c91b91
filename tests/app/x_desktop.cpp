#include "tests/app/x_desktop.h"

#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <filesystem>
#include <regex>
#include <thread>

namespace app_test {
namespace {

using namespace std::chrono_literals;

// Polls `done` every 10 ms for up to `limit`.
template <class Done>
bool WaitFor(std::chrono::milliseconds limit, Done done) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    if (std::chrono::steady_clock::now() >= end) return false;
    std::this_thread::sleep_for(10ms);
  }
  return true;
}

std::string Name(const std::string& setting) { return setting.substr(0, setting.find('=') + 1); }

}  // namespace

XDesktop::XDesktop(const std::string& screen) {
  // Xvfb writes the display number it took once it takes connections.
  server_ = std::make_unique<test_support::StartedChild>(
      std::vector<std::string>{"/usr/bin/Xvfb", "-displayfd", "1", "-screen", "0", screen, "-nolisten", "tcp"});
  if (!server_->Started() || !WaitFor(10s, [&] { return server_->Output().find('\n') != std::string::npos; })) {
    ADD_FAILURE() << "Xvfb did not start (package xvfb; `make test` installs it)\n" << server_->Errors();
    return;
  }
  const std::string output = server_->Output();
  display_ = ":" + output.substr(0, output.find('\n'));

  // The window manager tells it is ready by running the command it is given at start. It
  // takes its keys and its theme from the system's folders, not from the tests' private
  // desktop, which holds neither.
  const std::string started = (folder_ / "window-manager-started").string();
  windowManager_ = std::make_unique<test_support::StartedChild>(
      std::vector<std::string>{"/usr/bin/openbox", "--sm-disable", "--startup", "/usr/bin/touch " + started},
      On({.environment = {"XDG_CONFIG_DIRS=/etc/xdg", "XDG_DATA_DIRS=/usr/local/share:/usr/share"}}));
  if (!windowManager_->Started() || !WaitFor(10s, [&] { return std::filesystem::exists(started); })) {
    ADD_FAILURE() << "openbox did not start (package openbox; `make test` installs it)\n"
                  << windowManager_->Output() << windowManager_->Errors();
    return;
  }
  ready_ = true;
}

XDesktop::~XDesktop() {
  for (test_support::StartedChild* child : {windowManager_.get(), server_.get()}) {
    if (!child) continue;
    child->Signal(SIGTERM);
    child->Wait(5s);
  }
}

test_support::ChildOptions XDesktop::On(test_support::ChildOptions options) const {
  // The home and XDG folders are the private desktop's that every test runs on.
  for (const std::string& setting :
       {"DISPLAY=" + display_, std::string("LSAN_OPTIONS=suppressions=\"") + SYSTEM_LIBRARY_LEAKS + "\""}) {
    const bool given = std::any_of(options.environment.begin(), options.environment.end(),
                                   [&](const std::string& s) { return Name(s) == Name(setting); });
    if (!given) options.environment.push_back(setting);
  }
  // The tests' own screen and any other display stay out.
  options.dropInherited.insert(options.dropInherited.end(), {"QT_QPA_PLATFORM=", "WAYLAND_DISPLAY="});
  return options;
}

std::optional<std::string> XDesktop::OutputOf(const std::vector<std::string>& command) const {
  const test_support::ChildRun run = test_support::RunChild(command, On({.timeout = std::chrono::seconds(20)}));
  if (run.status != 0) return std::nullopt;
  return run.output;
}

bool XDesktop::Do(const std::vector<std::string>& command) const {
  std::vector<std::string> argv = {"/usr/bin/xdotool"};
  argv.insert(argv.end(), command.begin(), command.end());
  return OutputOf(argv).has_value();
}

bool XDesktop::Close(const std::string& window) const {
  return Do({"windowactivate", "--sync", window}) && Do({"key", "--clearmodifiers", "alt+F4"});
}

int XDesktop::ProcessOf(const std::string& window) const {
  const auto pid = OutputOf({"/usr/bin/xdotool", "getwindowpid", window});
  return pid ? std::atoi(pid->c_str()) : 0;
}

std::optional<std::vector<int>> XDesktop::ClientArea(const std::string& window) const {
  const auto text = OutputOf({"/usr/bin/xwininfo", "-id", window});
  std::smatch m;
  const std::regex area(
      R"(Absolute upper-left X: +(-?\d+)\n +Absolute upper-left Y: +(-?\d+)\n(?:.*\n)*? +Width: +(\d+)\n +Height: +(\d+))");
  if (!text || !std::regex_search(*text, m, area)) return std::nullopt;
  return std::vector<int>{std::stoi(m[1]), std::stoi(m[2]), std::stoi(m[3]), std::stoi(m[4])};
}

std::optional<std::string> XDesktop::Property(const std::string& window, const std::string& name) const {
  return OutputOf({"/usr/bin/xprop", "-id", window, name});
}

bool XDesktop::ClickAt(int x, int y, int button, int times) const {
  return Do({"mousemove", "--sync", std::to_string(x), std::to_string(y)}) &&
         Do({"click", "--repeat", std::to_string(times), "--delay", "80", std::to_string(button)});
}

std::string XDesktop::WaitForWindow(const std::string& title) const { return WaitForMatch("--name", title); }

std::string XDesktop::WaitForWindowOf(const std::string& program) const { return WaitForMatch("--class", program); }

std::string XDesktop::WaitForMatch(const std::string& field, const std::string& text) const {
  const std::string pattern = "^" + std::regex_replace(text, std::regex(R"([.^$|()\[\]{}*+?\\])"), R"(\$&)") + "$";
  std::string found;
  WaitFor(20s, [&] {
    // xdotool fails when it finds nothing.
    const auto ids = OutputOf({"/usr/bin/xdotool", "search", "--onlyvisible", field, pattern});
    if (ids) found = ids->substr(0, ids->find('\n'));
    return ids.has_value();
  });
  return found;
}

std::optional<ScreenPoint> XDesktop::SettledPosition(const std::string& window) const {
  // (xdotool's own answer adds the window's offset inside its frame once more.)
  auto position = [&]() -> std::optional<ScreenPoint> {
    const auto area = ClientArea(window);
    if (!area) return std::nullopt;
    return ScreenPoint{(*area)[0], (*area)[1]};
  };
  std::optional<ScreenPoint> last = position();
  for (int tries = 0; tries < 50; ++tries) {
    std::this_thread::sleep_for(100ms);
    std::optional<ScreenPoint> now = position();
    if (now && now == last) return now;
    last = now;
  }
  return std::nullopt;
}

}  // namespace app_test
