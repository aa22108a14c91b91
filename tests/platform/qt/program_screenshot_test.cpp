// The program's own windows on the Qt screen: the librarian runs in this process against the
// simulated unit, and at each idle moment the test acts as a user would (connect, right-click
// a user cab, "Rename Cabinet", cancel, About, OK, close), rendering each window to PNG under
// screenshots/ and checking that it is drawn with its controls where the layout puts them.
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QSet>
#include <QTreeView>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>

#include "app/librarian_program.h"
#include "platform/midi/backend.h"
#include "platform/midi/simulator/simulator_backend.h"
#include "platform/qt/qt_screen.h"
#include "platform/qt/window_view.h"
#include "platform/rt/event_loop.h"
#include "platform/rt/user_action.h"
#include "user_at_qt_screen.h"

namespace {

int DistinctColours(const QImage& image) {
  QSet<QRgb> colours;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) colours.insert(image.pixel(x, y));
  return static_cast<int>(colours.size());
}

// The user walks through the windows, taking their pictures.
class WalkingScreen final : public UserAtQtScreen {
 public:
  std::vector<std::string> shots;

 private:
  int Field(const rt::Window& w, const char* equate) const { return w.FieldOf(equate); }

  void Press(rt::Window& w, const char* equate) {
    const std::string refused = rt::user::Press(w, Field(w, equate));
    EXPECT_EQ(refused, "") << equate;
  }

  void Shoot(rt::Window& w, const std::string& name) {
    qtscreen::WindowView* view = Screen().ViewOf(w);
    ASSERT_NE(view, nullptr);
    QApplication::processEvents();
    const QImage shot = view->grab().toImage();
    ASSERT_TRUE(QDir().mkpath("screenshots"));
    ASSERT_TRUE(shot.save(QString::fromStdString("screenshots/" + name + ".png")));
    EXPECT_GT(DistinctColours(shot), 100) << name;
    for (int field = 1; field <= w.Fields(); ++field) {
      const rt::ControlDef& control = w.Control(field);
      if (control.kind == rt::Kind::Tab) continue;
      QWidget* widget = view->findChild<QWidget*>(QString::fromStdString(control.equate));
      ASSERT_NE(widget, nullptr) << control.equate;
      const rt::Rect& at = control.at;
      EXPECT_EQ(widget->geometry(), view->Units().ToPixels(at.x, at.y, at.width, at.height)) << name << " " << control.equate;
      // Texts are shown as the program wrote them ("picks & strings" keeps its "&").
      if (control.kind == rt::Kind::String && !control.use.Bound()) {
        EXPECT_EQ(qobject_cast<QLabel*>(widget)->text().toStdString(), control.text);
      }
    }
    shots.push_back(name);
  }

  // The walk: in the window of each caption, what to shoot, then what to do.
  struct Stage {
    const char* caption;
    const char* shot;             // nullptr: no picture
    const char* press;            // nullptr: close the window, unless...
    bool rightClickUserCab;       // ...a user cab is right-clicked once the cab list holds one
  };
  static constexpr Stage kWalk[] = {
      {"Boxwright 1.01", nullptr, "CONNECTBUTTON", false},
      {"Boxwright 1.01", "main_window", nullptr, true},
      {"Rename Cab", "rename_cab", "CANCELBUTTON", false},
      {"Boxwright 1.01", nullptr, "ABOUTBUTTON", false},
      {"About Boxwright", "about_window", "OKBUTTON", false},
      {"Boxwright 1.01", nullptr, nullptr, false},
  };

  std::string Where() const override { return "step " + std::to_string(step_); }

  void Act(rt::Window& top) override {
    if (step_ >= std::size(kWalk) || top.Def().caption != kWalk[step_].caption) return;
    const Stage& stage = kWalk[step_];
    const int list = Field(top, "ALLCABLIST");
    const int userCab = stage.rightClickUserCab ? UserCabRow(top) : 0;
    if (stage.rightClickUserCab && userCab == 0) return;  // the cab list is still arriving
    if (stage.shot != nullptr) Shoot(top, stage.shot);
    if (stage.rightClickUserCab) {
      EXPECT_EQ(rt::user::RightClick(top, list, userCab), "");
    } else if (stage.press != nullptr) {
      Press(top, stage.press);
    } else {
      rt::user::Close(top);
    }
    ++step_;
  }

  std::size_t step_ = 0;
};

TEST(ProgramScreenshots, EveryWindowIsDrawnWithItsControlsInPlace) {
  setenv("BOXWRIGHT_SIMULATOR", "1", 1);
  unsetenv("BOXWRIGHT_SCREEN");
  midi::InstallBackends({std::make_shared<midi::SimulatorBackend>(midi::SimulatorInstance())});
  std::ofstream("settings.ini") << "[Preserved]\r\nGLO:MIDIInDevice=1\r\nGLO:MIDIOutDevice=1\r\nGLO:UserCabOffset=131\r\n";

  WalkingScreen* walker = nullptr;
  rt::Program program = LibrarianProgram();
  program.screen = [&walker] {
    auto screen = std::make_unique<WalkingScreen>();
    walker = screen.get();
    return screen;
  };
  std::vector<std::string> shots;
  program.main = [main = program.main, &walker, &shots] {
    main();
    shots = walker->shots;
  };
  char name[] = "boxwright";
  char* argv[] = {name, nullptr};
  EXPECT_EQ(rt::RunProgram(1, argv, program), 0);
  EXPECT_EQ(shots, (std::vector<std::string>{"main_window", "rename_cab", "about_window"}));
}

}  // namespace
