// The program's main window on a desktop with a window manager, started and closed as a user
// would, several times over: it opens where it was left.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <cstdlib>
#include <regex>
#include <thread>
#include <vector>

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

// A double click on the title bar maximises and restores, as the window manager has it.
bool ToggleMaximised(const XDesktop& desktop, const std::string& window) {
  const auto area = desktop.ClientArea(window);
  return area && desktop.ClickAt((*area)[0] + (*area)[2] / 2, (*area)[1] - 8, 1, 2);
}

// The client area once the window manager has done with it: the same twice in a row.
std::vector<int> SettledArea(const XDesktop& desktop, const std::string& window) {
  std::vector<int> last;
  for (int tries = 0; tries < 50; ++tries) {
    std::this_thread::sleep_for(100ms);
    const std::vector<int> now = desktop.ClientArea(window).value_or(std::vector<int>{});
    if (!now.empty() && now == last) return now;
    last = now;
  }
  return last;
}

// The place exactly; the size within two pixels, as the window's units (a quarter of a letter's
// width, an eighth of its height) keep it.
bool Near(const std::vector<int>& area, const std::vector<int>& given) {
  return area.size() == 4 && area[0] == given[0] && area[1] == given[1] && std::abs(area[2] - given[2]) <= 2 &&
         std::abs(area[3] - given[3]) <= 2;
}

// Closed maximised, the window keeps the place and size the user gave it before: it opens
// maximised and comes back to them when restored.
TEST(WindowPlace, AWindowClosedMaximisedComesBackToTheUsersPlace) {
  XDesktop desktop;
  ASSERT_TRUE(desktop.Ready());
  const std::filesystem::path folder = std::filesystem::current_path();
  const std::vector<int> given = {100, 120, 700, 500};
  StartAndClose(desktop, folder);
  StartAndClose(desktop, folder, [&](const std::string& window) {
    ASSERT_TRUE(desktop.Do({"windowmove", "--sync", window, "100", "120"}));
    ASSERT_TRUE(desktop.Do({"windowsize", "--sync", window, "700", "500"}));
    EXPECT_EQ(SettledArea(desktop, window), given);
  });
  StartAndClose(desktop, folder, [&](const std::string& window) {
    EXPECT_TRUE(Near(SettledArea(desktop, window), given));
    ASSERT_TRUE(ToggleMaximised(desktop, window));
    EXPECT_EQ(SettledArea(desktop, window).at(2), 1280) << "maximised";
  });
  StartAndClose(desktop, folder, [&](const std::string& window) {
    EXPECT_EQ(SettledArea(desktop, window).at(2), 1280) << "opens maximised";
    ASSERT_TRUE(ToggleMaximised(desktop, window));
    EXPECT_TRUE(Near(SettledArea(desktop, window), given)) << "restored to the place and size the user gave it";
  });
}

}  // namespace
}  // namespace app_test
