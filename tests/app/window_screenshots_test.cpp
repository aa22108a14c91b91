// The three windows as users see them, drawn offscreen and kept as PNG files under
// screenshots/ in the test's folder; every label on them readable against its background.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

#include "app/about_window.h"
#include "app/globals.h"
#include "app/librarian_program.h"
#include "app/main_window_def.h"
#include "app/midi_connection.h"
#include "app/rename_cab.h"
#include "platform/midi/simulator/simulator_backend.h"
#include "platform/qt/make_qt_screen.h"
#include "platform/harness/window_picture.h"
#include "platform/rt/display.h"
#include "platform/rt/event_loop.h"
#include "platform/rt/props.h"
#include "tests/app/unit_replies.h"
#include "textrope/textrope.h"

namespace {

// The simulated unit's whole cab table, as its cab-list replies would bring it.
void ListTheSimulatedCabs() {
  midi::Simulator& unit = midi::SimulatorInstance();
  for (int index = 0; index < unit.CabCount(); ++index)
    app_test::Arrive(app_test::CabListReply(index, unit.CabName(index)));
  Textrope ST;
  app_test::QuietView view;
  ProcessReturnQueue(ST, view);
}

class WindowScreenshots : public ::testing::Test {
 protected:
  void SetUp() override {
    rt::UseScreen(qtscreen::MakeQtScreen());
    module_.start();
    std::filesystem::create_directories("screenshots");
  }
  void TearDown() override {
    module_.stop();
    rt::UseScreen(nullptr);
  }
  // Opens the window, lets `fill` show what a user would see, saves the picture and returns
  // its number of colours.
  int Picture(const rt::WindowDef& def, const std::string& file, const std::function<void()>& fill = [] {}) {
    rt::Window* window = rt::OpenWindow(def);
    EXPECT_NE(window, nullptr) << file;
    if (window == nullptr) return 0;
    fill();
    DISPLAY();
    rt::PumpMessages();
    const int colours = harness::SaveWindowPicture(*window, "screenshots/" + file);
    // Black 8-point text needs 4.5:1 against every pixel behind it, on the tweed too.
    EXPECT_GE(harness::LeastLabelContrast(*window), 4.5) << file;
    rt::CloseWindow(*window);
    return colours;
  }
  rt::Module module_ = LibrarianModule();
};

TEST_F(WindowScreenshots, MainWindowFilledFromTheSimulatedUnit) {
  setenv("BOXWRIGHT_SIMULATOR", "1", 1);
  FillDeviceLists();
  GLO::UserCabOffset = 131;
  GLO::SafetyMode = 1;
  ListTheSimulatedCabs();
  ASSERT_EQ(CAB_QUEUE.Records(), 230u);
  LONG packets = 230;
  EXPECT_GT(Picture(MainWindowDef(packets), "main_window.png",
                    [] {
                      rt::SetProp(ctl::INDEVICELIST, PROP::Selected, static_cast<long long>(InDeviceQ.Records()));
                      rt::SetProp(ctl::OUTDEVICELIST, PROP::Selected, static_cast<long long>(OutDeviceQ.Records()));
                      rt::SetProp(ctl::CONNECTBUTTON, PROP::Text, "Disconnect");
                      rt::SetProp(ctl::ALLCABLIST, PROP::Selected, 131LL);
                    }),
            200);
}

TEST_F(WindowScreenshots, RenameWindow) {
  GLO::CabName = "Fresh Air";
  EXPECT_GT(Picture(RenameCabWindowDef(), "rename_window.png"), 50);
}

TEST_F(WindowScreenshots, AboutWindow) { EXPECT_GT(Picture(AboutWindowDef(), "about_window.png"), 50); }

}  // namespace
