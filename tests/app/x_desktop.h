#pragma once
// A desktop of the test's own for the program's real windows: an X server (Xvfb, on a
// display number it finds free, so tests run side by side) with a window manager (openbox,
// which frames, places and closes windows as a user's would), xdotool to find the windows
// and type at them, and xwininfo to tell where they are. Both servers end with the object.
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "tests/support/child_program.h"
#include "tests/support/short_folder.h"

namespace app_test {

struct ScreenPoint {
  int x = 0;
  int y = 0;
  bool operator==(const ScreenPoint&) const = default;
};
inline void PrintTo(const ScreenPoint& p, std::ostream* os) { *os << "(" << p.x << ", " << p.y << ")"; }

class XDesktop {
 public:
  // A desktop that cannot start fails the test; Ready() tells. `screen` is the X server's
  // screen, width x height x depth.
  explicit XDesktop(const std::string& screen = "1280x1024x24");
  ~XDesktop();
  XDesktop(const XDesktop&) = delete;
  XDesktop& operator=(const XDesktop&) = delete;

  bool Ready() const { return ready_; }
  // The options with what a program on this desktop needs (the display); settings already in
  // `options` stand.
  test_support::ChildOptions On(test_support::ChildOptions options = {}) const;

  // The shown top-level window whose title is `title`, waiting up to 20 seconds; "" when
  // none appeared.
  std::string WaitForWindow(const std::string& title) const;
  // The same for a window of the program named `program` (its window class), whatever its
  // title: a window with an empty title is named by the window manager alone.
  std::string WaitForWindowOf(const std::string& program) const;
  // Where the window's client area stands on the screen, once the window manager has
  // stopped moving it.
  std::optional<ScreenPoint> SettledPosition(const std::string& window) const;
  // An xdotool command ("key", "windowmove", ...) on this desktop; false when it failed.
  bool Do(const std::vector<std::string>& command) const;
  // The window closed as its close box does: activated, then Alt+F4 to the window manager.
  bool Close(const std::string& window) const;
  // The process that shows the window (its _NET_WM_PID); 0 when it does not say.
  int ProcessOf(const std::string& window) const;
  // Where the window's client area stands on the screen, and its size: x, y, width, height.
  std::optional<std::vector<int>> ClientArea(const std::string& window) const;
  // A property of the window as xprop shows it ("WM_TRANSIENT_FOR(WINDOW): window id # 0x..."),
  // nullopt when xprop failed.
  std::optional<std::string> Property(const std::string& window, const std::string& name) const;
  // A click of `button` (1 left, 3 right; twice for a double click) at a point of the screen.
  bool ClickAt(int x, int y, int button, int times = 1) const;

 private:
  std::optional<std::string> OutputOf(const std::vector<std::string>& command) const;
  // The first shown window whose `field` ("--name", "--class") is `text`, waiting.
  std::string WaitForMatch(const std::string& field, const std::string& text) const;

  test_support::ShortFolder folder_;  // the window manager's word that it is ready
  std::string display_;
  std::unique_ptr<test_support::StartedChild> server_;
  std::unique_ptr<test_support::StartedChild> windowManager_;
  bool ready_ = false;
};

}  // namespace app_test
