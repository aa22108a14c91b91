// The program on the Qt screen, used from the keyboard: the librarian runs in this process
// against the simulated unit while the test types and presses keys on the real widgets.
// What the user typed must reach the unit and "settings.ini" even when a key, not a change
// of focus, ends the typing.
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QSpinBox>
#include <QTest>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <sstream>

#include "app/librarian_program.h"
#include "platform/midi/backend.h"
#include "platform/midi/simulator_backend.h"
#include "platform/qt/qt_screen.h"
#include "platform/qt/window_view.h"
#include "platform/rt/event_loop.h"
#include "platform/rt/user_action.h"

namespace {

constexpr qint64 kPatience = 20000;  // ms for the whole walk before the test gives up
constexpr BYTE kRename = 0x2D;

std::vector<std::vector<BYTE>> RenamesReceived() {
  std::vector<std::vector<BYTE>> renames;
  for (auto& message : midi::SimulatorInstance().Received())
    if (message.size() > 6 && message[5] == kRename) renames.push_back(message);
  return renames;
}

std::string NameIn(const std::vector<BYTE>& rename) {
  std::string name;
  for (std::size_t i = 7; i < 39 && i < rename.size() && rename[i] != 0; ++i) name += static_cast<char>(rename[i]);
  return name;
}

// The Qt screen with a user at the keyboard: at each idle moment the next step runs once
// its window is on top and it is ready.
class TypingUser final : public rt::Screen {
 public:
  struct Step {
    const char* caption;
    std::function<bool(rt::Window&, qtscreen::WindowView&)> ready;  // nullptr: at once
    std::function<void(rt::Window&, qtscreen::WindowView&)> act;
  };

  explicit TypingUser(std::vector<Step> steps) : steps_(std::move(steps)) { clock_.start(); }

  void WindowOpened(rt::Window& w) override { screen_.WindowOpened(w); }
  void WindowClosed(rt::Window& w) override { screen_.WindowClosed(w); }
  void PropertyChanged(rt::Window& w, int field, int prop, int index) override {
    screen_.PropertyChanged(w, field, prop, index);
  }
  void ListChanged(rt::Window& w, int field) override { screen_.ListChanged(w, field); }
  void CommitEdit(rt::Window& w) override { screen_.CommitEdit(w); }
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
  void Beep() override { ++beeps; }

  void Wait(std::chrono::milliseconds upTo) override {
    screen_.Wait(std::min(upTo, std::chrono::milliseconds(20)));
    rt::Window* top = rt::TopWindow();
    if (!top) return;
    if (clock_.elapsed() > kPatience) {
      ADD_FAILURE() << "gave up at step " << next_ << " in \"" << top->Def().caption << "\"";
      rt::user::Close(*top);
      return;
    }
    if (next_ >= steps_.size() || top->Def().caption != steps_[next_].caption) return;
    qtscreen::WindowView* view = screen_.ViewOf(*top);
    if (!view) return;
    const Step& step = steps_[next_];
    if (step.ready && !step.ready(*top, *view)) return;
    ++next_;
    view->activateWindow();
    QApplication::processEvents();
    step.act(*top, *view);
  }

  int beeps = 0;
  std::size_t StepsTaken() const { return next_; }

 private:
  qtscreen::QtScreen screen_;
  std::vector<Step> steps_;
  QElapsedTimer clock_;
  std::size_t next_ = 0;
};

// The first row of the all-cabs list that holds a user cab; 0 while there is none.
int UserCabRow(const rt::Window& main) {
  const int list = main.FieldOf("ALLCABLIST");
  for (std::size_t row = 1; row <= main.ListRecords(list); ++row) {
    const std::vector<std::string> cells = main.ListRow(list, row);
    if (cells.size() > 1 && cells[1].find_first_not_of(' ') != std::string::npos) return static_cast<int>(row);
  }
  return 0;
}

template <class W>
W* Widget(qtscreen::WindowView& view, const char* equate) {
  W* widget = view.findChild<W*>(QString::fromLatin1(equate));
  EXPECT_NE(widget, nullptr) << equate;
  return widget;
}

std::string FileText(const char* path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(ProgramKeyboard, KeysThatEndTypingTakeTheTypedText) {
  setenv("BOXWRIGHT_SIMULATOR", "1", 1);
  unsetenv("BOXWRIGHT_SCREEN");
  midi::SimulatorInstance().Reset();
  midi::InstallBackends({std::make_shared<midi::SimulatorBackend>(midi::SimulatorInstance())});
  std::ofstream("settings.ini") << "[Preserved]\r\nGLO:MIDIInDevice=1\r\nGLO:MIDIOutDevice=1\r\nGLO:UserCabOffset=131\r\n";

  const char* kMain = "Boxwright 1.01";
  const char* kRenameCab = "Rename Cab";
  auto renameUserCab = [](rt::Window& main, qtscreen::WindowView&) {
    EXPECT_EQ(rt::user::RightClick(main, main.FieldOf("ALLCABLIST"), UserCabRow(main)), "");
  };
  TypingUser* user = nullptr;
  std::vector<TypingUser::Step> steps = {
      {kMain, nullptr, [](rt::Window& main, qtscreen::WindowView&) {
         EXPECT_EQ(rt::user::Press(main, main.FieldOf("CONNECTBUTTON")), "");
       }},
      {kMain, [](rt::Window& main, qtscreen::WindowView&) { return UserCabRow(main) != 0; }, renameUserCab},
      // The old name is selected, so typing replaces it; Alt+O ends the typing.
      {kRenameCab, nullptr, [](rt::Window&, qtscreen::WindowView& view) {
         auto* entry = Widget<QLineEdit>(view, "GLO:CABNAME");
         EXPECT_TRUE(entry->hasSelectedText());
         EXPECT_EQ(entry->selectedText(), entry->text());
         QTest::keyClicks(entry, "Bright");
         QTest::keyClick(&view, Qt::Key_O, Qt::AltModifier);
       }},
      {kMain, [](rt::Window& main, qtscreen::WindowView&) { return !RenamesReceived().empty() && UserCabRow(main) != 0; },
       renameUserCab},
      // An emptied entry and Alt+O: a beep, and the window stays; Escape then closes it.
      {kRenameCab, nullptr, [](rt::Window&, qtscreen::WindowView& view) {
         auto* entry = Widget<QLineEdit>(view, "GLO:CABNAME");
         QTest::keyClick(entry, Qt::Key_Delete);
         QTest::keyClick(&view, Qt::Key_O, Qt::AltModifier);
       }},
      // (A mnemonic clicks the button a moment later, as a click shows.)
      {kRenameCab, [&user](rt::Window&, qtscreen::WindowView&) { return user->beeps > 0; },
       [](rt::Window&, qtscreen::WindowView& view) {
         EXPECT_TRUE(Widget<QLineEdit>(view, "GLO:CABNAME")->hasFocus());
         QTest::keyClick(Widget<QLineEdit>(view, "GLO:CABNAME"), Qt::Key_Escape);
       }},
      // A new offset typed and the window closed at once by its close box.
      {kMain, nullptr, [](rt::Window&, qtscreen::WindowView& view) {
         auto* offset = Widget<QSpinBox>(view, "GLO:USERCABOFFSET");
         offset->setFocus();
         offset->selectAll();
         QTest::keyClicks(offset, "140");
         view.close();
       }},
  };

  rt::Program program = LibrarianProgram();
  program.screen = [&user, &steps] {
    auto screen = std::make_unique<TypingUser>(steps);
    user = screen.get();
    return screen;
  };
  int beeps = 0;
  std::size_t stepsTaken = 0;
  program.main = [main = program.main, &user, &beeps, &stepsTaken] {
    main();
    beeps = user->beeps;
    stepsTaken = user->StepsTaken();
  };
  char name[] = "boxwright";
  char* argv[] = {name, nullptr};
  EXPECT_EQ(rt::RunProgram(1, argv, program), 0);

  EXPECT_EQ(stepsTaken, steps.size());
  const auto renames = RenamesReceived();
  ASSERT_EQ(renames.size(), 1u);
  EXPECT_EQ(NameIn(renames[0]), "Bright");
  EXPECT_EQ(renames[0][6], 0);  // the first user slot
  EXPECT_EQ(beeps, 1);
  EXPECT_NE(FileText("settings.ini").find("GLO:UserCabOffset=140\r\n"), std::string::npos) << FileText("settings.ini");
}

}  // namespace
