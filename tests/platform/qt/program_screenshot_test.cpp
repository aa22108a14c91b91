// The program's own windows on the Qt screen: the librarian runs in this process against the
// simulated unit, and at each idle moment the test acts as a user would (connect, right-click
// a user cab, "Rename Cabinet", cancel, About, OK, close), rendering each window to PNG under
// screenshots/ and checking that it is drawn with its controls where the layout puts them.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QSet>
#include <QTreeView>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>

#include "app/librarian_program.h"
#include "platform/midi/backend.h"
#include "platform/midi/simulator_backend.h"
#include "platform/qt/qt_screen.h"
#include "platform/qt/window_view.h"
#include "platform/rt/event_loop.h"
#include "platform/rt/user_action.h"

namespace {

constexpr qint64 kPatience = 20000;  // ms for the whole walk before the test gives up

int DistinctColours(const QImage& image) {
  QSet<QRgb> colours;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) colours.insert(image.pixel(x, y));
  return static_cast<int>(colours.size());
}

// The Qt screen with a user in front of it.
class WalkingScreen final : public rt::Screen {
 public:
  WalkingScreen() { clock_.start(); }

  void WindowOpened(rt::Window& w) override { screen_.WindowOpened(w); }
  void WindowClosed(rt::Window& w) override { screen_.WindowClosed(w); }
  void PropertyChanged(rt::Window& w, int field, int prop, int index) override {
    screen_.PropertyChanged(w, field, prop, index);
  }
  void ListChanged(rt::Window& w, int field) override { screen_.ListChanged(w, field); }
  int Message(const rt::MessageRequest& request) override { return request.defaultButton; }
  std::optional<std::string> ChooseFile(const rt::FileRequest&) override { return std::nullopt; }
  int Popup(const rt::PopupRequest& request) override {
    int number = 0;
    for (const std::string& entry : request.entries) {
      if (entry == "-") continue;
      ++number;
      if (entry == "Rename Cabinet") return number;
    }
    return 0;
  }
  void Beep() override {}

  void Wait(std::chrono::milliseconds upTo) override {
    screen_.Wait(std::min(upTo, std::chrono::milliseconds(20)));
    rt::Window* top = rt::TopWindow();
    if (!top) return;
    if (clock_.elapsed() > kPatience) {
      ADD_FAILURE() << "gave up at step " << step_ << " in \"" << top->Def().caption << "\"";
      rt::user::Close(*top);
      return;
    }
    Step(*top);
  }

  std::vector<std::string> shots;

 private:
  int Field(const rt::Window& w, const char* equate) const { return w.FieldOf(equate); }

  void Press(rt::Window& w, const char* equate) {
    const std::string refused = rt::user::Press(w, Field(w, equate));
    EXPECT_EQ(refused, "") << equate;
  }

  // The first row of the all-cabs list that holds a user cab; 0 while there is none.
  static int UserCabRow(const rt::Window& main, int list) {
    for (std::size_t row = 1; row <= main.ListRecords(list); ++row) {
      const std::vector<std::string> cells = main.ListRow(list, row);
      if (cells.size() > 1 && cells[1].find_first_not_of(' ') != std::string::npos) return static_cast<int>(row);
    }
    return 0;
  }

  void Shoot(rt::Window& w, const std::string& name) {
    qtscreen::WindowView* view = screen_.ViewOf(w);
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

  void Step(rt::Window& top) {
    if (step_ >= std::size(kWalk) || top.Def().caption != kWalk[step_].caption) return;
    const Stage& stage = kWalk[step_];
    const int list = Field(top, "ALLCABLIST");
    const int userCab = stage.rightClickUserCab ? UserCabRow(top, list) : 0;
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

  qtscreen::QtScreen screen_;
  QElapsedTimer clock_;
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
