// The main window on a desktop with a window manager, used with the mouse and the keyboard
// against the simulated unit, whose log shows what the unit received: the cab menus send
// nothing of their own accord, and the small windows belong to the main window.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <thread>

#include "tests/app/x_desktop.h"
#include "tests/support/file_text.h"

namespace app_test {
namespace {

using namespace std::chrono_literals;
using test_support::FileText;

constexpr const char* kMain = "Boxwright 1.01";

// The unit's log, one message a line in hexadecimal.
std::vector<std::string> LogLines(const std::filesystem::path& log) {
  std::vector<std::string> lines;
  std::istringstream in(FileText(log));
  for (std::string line; std::getline(in, line);)
    if (!line.empty()) lines.push_back(line);
  return lines;
}

// A select is the cab-number message with its "set" byte on.
bool IsSelect(const std::string& hex) {
  return std::regex_match(hex, std::regex(R"(F0 00 01 74 03 02 6C( [0-9A-F]{2}){6} 01 [0-9A-F]{2} F7)"));
}

std::size_t SelectsIn(const std::vector<std::string>& lines) {
  return static_cast<std::size_t>(std::count_if(lines.begin(), lines.end(), IsSelect));
}

// The X window a window is transient for, from xprop's "window id # 0x..."; 0 for none.
unsigned long TransientFor(const XDesktop& desktop, const std::string& window) {
  std::smatch m;
  const std::string text = desktop.Property(window, "WM_TRANSIENT_FOR").value_or("");
  return std::regex_search(text, m, std::regex("# (0x[0-9a-f]+)")) ? std::stoul(m[1].str(), nullptr, 16) : 0;
}

class MainWindowOnADesktop : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(desktop_.Ready());
    // Every cab is a user cab from offset 1, so any row offers "Rename Cabinet".
    std::ofstream(folder_ / "settings.ini") << "[Preserved]\r\nGLO:UserCabOffset=1\r\nGLO:SafetyMode=1\r\n";
    std::filesystem::remove(log_);
    program_ = std::make_unique<test_support::StartedChild>(
        std::vector<std::string>{BOXWRIGHT_EXE},
        desktop_.On({.folder = folder_,
                     .environment = {"BOXWRIGHT_SIMULATOR=1", "BOXWRIGHT_SIMULATOR_LOG=" + log_.string()}}));
    main_ = desktop_.WaitForWindow(kMain);
    ASSERT_NE(main_, "");
    ASSERT_TRUE(desktop_.SettledPosition(main_));
    area_ = desktop_.ClientArea(main_).value_or(std::vector<int>{0, 0, 0, 0});
  }

  void TearDown() override {
    if (!program_) return;
    if (!main_.empty()) {
      EXPECT_TRUE(desktop_.Close(main_));
    }
    EXPECT_EQ(program_->Wait(20s).status, 0);
  }

  // The simulated unit, the last port on both sides, chosen and connected from the keyboard;
  // then the cab list is waited for.
  void Connect() {
    ASSERT_TRUE(desktop_.Do({"windowactivate", "--sync", main_}));
    // From the list back to the window's first control, the input device list.
    ASSERT_TRUE(desktop_.ClickAt(Across(0.3), Down(0.6), 1));
    for (int shifts = 0; shifts < 9; ++shifts) ASSERT_TRUE(Keys({"shift+Tab"}));
    ASSERT_TRUE(Keys({"End", "Tab", "End", "Tab", "space"}));
    for (int tries = 0; tries < 100 && LogLines(log_).size() < 4; ++tries) std::this_thread::sleep_for(100ms);
    std::this_thread::sleep_for(2500ms);  // the replies, and the queries of the tick after them
    ASSERT_GE(LogLines(log_).size(), 4u) << "not connected";
  }

  bool Keys(const std::vector<std::string>& keys) const {
    for (const std::string& key : keys) {
      if (!desktop_.Do({"key", "--clearmodifiers", key})) return false;
      std::this_thread::sleep_for(50ms);
    }
    return true;
  }

  // A point of the main window by its share of the client area's width and height.
  int Across(double share) const { return area_[0] + static_cast<int>(area_[2] * share); }
  int Down(double share) const { return area_[1] + static_cast<int>(area_[3] * share); }

  // What the unit received from now on, once the program had a moment.
  std::vector<std::string> SentSince(std::size_t count) const {
    std::this_thread::sleep_for(1500ms);
    const std::vector<std::string> lines = LogLines(log_);
    return {lines.begin() + static_cast<std::ptrdiff_t>(std::min(count, lines.size())), lines.end()};
  }

  bool Viewable(const std::string& window) const {
    return desktop_.Property(window, "WM_STATE").value_or("").find("Normal") != std::string::npos;
  }

  // Transient for the main window, asking for no minimise or maximise function (window
  // managers that offer one anyway get the window straight back), and never left hidden.
  void ExpectOwnedByTheMainWindow(const std::string& window) const {
    EXPECT_EQ(TransientFor(desktop_, window), std::stoul(main_));
    std::smatch m;
    const std::string hints = desktop_.Property(window, "_MOTIF_WM_HINTS").value_or("");
    ASSERT_TRUE(std::regex_search(hints, m, std::regex(R"(= (0x[0-9a-f]+), (0x[0-9a-f]+))"))) << hints;
    EXPECT_TRUE(std::stoul(m[1].str(), nullptr, 16) & 1) << "functions given";
    EXPECT_EQ(std::stoul(m[2].str(), nullptr, 16) & 0x18, 0u) << "neither minimise nor maximise";
    ASSERT_TRUE(desktop_.Do({"windowminimize", window}));
    std::this_thread::sleep_for(1s);
    EXPECT_TRUE(Viewable(window)) << "a minimised dialog comes back";
    EXPECT_TRUE(Viewable(main_));
    ASSERT_TRUE(desktop_.Do({"windowactivate", "--sync", window}));
  }

  XDesktop desktop_;
  const std::filesystem::path folder_ = std::filesystem::current_path();
  const std::filesystem::path log_ = folder_ / "unit.log";
  std::unique_ptr<test_support::StartedChild> program_;
  std::string main_;
  std::vector<int> area_;
};

TEST_F(MainWindowOnADesktop, ARightClickSendsNothingALeftClickSelects) {
  Connect();
  // A row well inside the list, whatever the font.
  const int x = Across(0.3), y = Down(0.6);
  std::size_t before = LogLines(log_).size();
  ASSERT_TRUE(desktop_.ClickAt(x, y, 3));
  std::this_thread::sleep_for(500ms);
  ASSERT_TRUE(Keys({"Escape"}));
  EXPECT_EQ(SentSince(before), std::vector<std::string>{}) << "the menu, and Escape out of it";

  // "Add To Favourites" from the menu changes nothing on the unit either.
  before = LogLines(log_).size();
  ASSERT_TRUE(desktop_.ClickAt(x, Down(0.7), 3));
  std::this_thread::sleep_for(500ms);
  ASSERT_TRUE(Keys({"Down", "Down", "Return"}));
  EXPECT_EQ(SentSince(before), std::vector<std::string>{});

  before = LogLines(log_).size();
  ASSERT_TRUE(desktop_.ClickAt(x, y, 1));
  EXPECT_EQ(SelectsIn(SentSince(before)), 1u) << "a left click selects the cab";
}

TEST_F(MainWindowOnADesktop, RenameAndAboutBelongToTheMainWindow) {
  Connect();
  const std::size_t before = LogLines(log_).size();
  ASSERT_TRUE(desktop_.ClickAt(Across(0.3), Down(0.6), 3));
  std::this_thread::sleep_for(500ms);
  ASSERT_TRUE(Keys({"Down", "Down", "Down", "Return"}));
  const std::string rename = desktop_.WaitForWindow("Rename Cab");
  ASSERT_NE(rename, "");
  ExpectOwnedByTheMainWindow(rename);
  ASSERT_TRUE(Keys({"Escape"}));
  EXPECT_EQ(SentSince(before), std::vector<std::string>{}) << "Escape renames nothing";

  ASSERT_TRUE(desktop_.ClickAt(Across(116.0 / 348), Down(227.0 / 239), 1));  // About
  const std::string about = desktop_.WaitForWindow("About Boxwright");
  ASSERT_NE(about, "");
  ExpectOwnedByTheMainWindow(about);
  ASSERT_TRUE(Keys({"Escape"}));
}

}  // namespace
}  // namespace app_test
