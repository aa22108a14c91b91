// The program's main window on a desktop with a window manager, started and closed as a user
// would, several times over: it opens where it was left.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <regex>

#include "tests/app/x_desktop.h"
#include "tests/support/file_text.h"

namespace app_test {
namespace {

using namespace std::chrono_literals;
using test_support::FileText;

constexpr const char* kMain = "Boxwright 1.01";

// The main window's place as "settings.ini" keeps it.
std::string StoredPlace(const std::filesystem::path& folder) {
  std::smatch m;
  const std::string settings = FileText(folder / "settings.ini");
  if (!std::regex_search(settings, m, std::regex(R"(\[Main\]\r\n(.*\r\n)*?XPos=(-?\d+)\r\nYPos=(-?\d+))"))) return "";
  return m[2].str() + "," + m[3].str();
}

// One start of the program: the main window's settled place, then `act` on it, and the
// window closed through the window manager, as its close box does.
ScreenPoint StartAndClose(const XDesktop& desktop, const std::filesystem::path& folder,
                          const std::function<void(const std::string&)>& act = {}) {
  test_support::StartedChild program({BOXWRIGHT_EXE}, desktop.On({.folder = folder}));
  const std::string window = desktop.WaitForWindow(kMain);
  EXPECT_NE(window, "") << "the main window never showed";
  const ScreenPoint place = desktop.SettledPosition(window).value_or(ScreenPoint{-1, -1});
  if (act) act(window);
  EXPECT_TRUE(desktop.Close(window));
  EXPECT_EQ(program.Wait(20s).status, 0) << "the program did not end when its window was closed";
  return place;
}

TEST(WindowPlace, TheMainWindowOpensWhereItWasLeft) {
  XDesktop desktop;
  ASSERT_TRUE(desktop.Ready());
  const std::filesystem::path folder = std::filesystem::current_path();

  // A first run centres the window; the next finds it there.
  const ScreenPoint centred = StartAndClose(desktop, folder);
  ASSERT_NE(StoredPlace(folder), "") << FileText(folder / "settings.ini");
  EXPECT_EQ(StartAndClose(desktop, folder, [&](const std::string& window) {
              ASSERT_TRUE(desktop.Do({"windowmove", "--sync", window, "150", "170"}));
            }), centred);

  // Moved by the user, it comes back there start after start, and so does what is stored.
  const ScreenPoint moved = StartAndClose(desktop, folder);
  EXPECT_NE(moved, centred);
  const std::string storedMoved = StoredPlace(folder);
  for (int run = 1; run <= 3; ++run) {
    EXPECT_EQ(StartAndClose(desktop, folder), moved) << "start " << run;
    EXPECT_EQ(StoredPlace(folder), storedMoved) << "start " << run;
  }
}

}  // namespace
}  // namespace app_test
