// The three windows as users see them, drawn offscreen and kept as PNG files under
// screenshots/ in the test's folder.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/about_window.h"
#include "app/globals.h"
#include "app/librarian_program.h"
#include "app/main_window_def.h"
#include "app/midi_connection.h"
#include "app/rename_cab.h"
#include "app/reply_dispatcher.h"
#include "platform/midi/simulator_backend.h"
#include "platform/qt/make_qt_screen.h"
#include "platform/qt/window_picture.h"
#include "platform/rt/display.h"
#include "platform/rt/event_loop.h"
#include "platform/rt/props.h"
#include "textrope/textrope.h"

namespace {

class QuietView final : public ReplyView {
 public:
  void HighlightCab(std::size_t) override {}
  void HighlightFavourite(std::size_t) override {}
  void ShowCabSide(bool) override {}
  void Display() override {}
};

// The simulated unit's whole cab table, as its cab-list replies would bring it.
void ListTheSimulatedCabs() {
  midi::Simulator& unit = midi::SimulatorInstance();
  for (int index = 0; index < unit.CabCount(); ++index) {
    std::string reply = {'\xF0', '\x00', '\x01', '\x74', '\x03', '\x12', static_cast<char>(index & 0x7F),
                         static_cast<char>(index >> 7)};
    reply += unit.CabName(index) + std::string(1, '\0') + '\xF7';
    RETURN_QUEUE->DataLen = static_cast<LONG>(reply.size());
    RETURN_QUEUE->RawData = reply;
    RETURN_QUEUE.Add();
  }
  Textrope ST;
  QuietView view;
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
  int Picture(const rt::WindowDef& def, const std::string& file) {
    rt::Window* window = rt::OpenWindow(def);
    EXPECT_NE(window, nullptr) << file;
    if (window == nullptr) return 0;
    DISPLAY();
    rt::PumpMessages();
    const int colours = qtscreen::SaveWindowPicture(*window, "screenshots/" + file);
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
  const rt::WindowDef def = MainWindowDef(packets);
  rt::Window* window = rt::OpenWindow(def);
  ASSERT_NE(window, nullptr);
  rt::SetProp(ctl::INDEVICELIST, PROP::Selected, static_cast<long long>(InDeviceQ.Records()));
  rt::SetProp(ctl::OUTDEVICELIST, PROP::Selected, static_cast<long long>(OutDeviceQ.Records()));
  rt::SetProp(ctl::CONNECTBUTTON, PROP::Text, "Disconnect");
  rt::SetProp(ctl::ALLCABLIST, PROP::Selected, 131LL);
  DISPLAY();
  rt::PumpMessages();
  EXPECT_GT(qtscreen::SaveWindowPicture(*window, "screenshots/main_window.png"), 200);
  rt::CloseWindow(*window);
}

TEST_F(WindowScreenshots, RenameWindow) {
  GLO::CabName = "Fresh Air";
  EXPECT_GT(Picture(RenameCabWindowDef(), "rename_window.png"), 50);
}

TEST_F(WindowScreenshots, AboutWindow) { EXPECT_GT(Picture(AboutWindowDef(), "about_window.png"), 50); }

}  // namespace
