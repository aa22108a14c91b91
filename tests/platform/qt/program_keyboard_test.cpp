// The program on the Qt screen, used from the keyboard: the librarian runs in this process
// against the simulated unit while the test types and presses keys on the real widgets.
// What the user typed must reach the unit and "settings.ini" even when a key, not a change
// of focus, ends the typing.
#include <QApplication>
#include <QCheckBox>
#include <QTabBar>
#include <QTabWidget>
#include <QLineEdit>
#include <QSpinBox>
#include <QTest>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <sstream>

#include "app/librarian_program.h"
#include "platform/midi/backend.h"
#include "platform/midi/simulator/simulator_backend.h"
#include "platform/qt/qt_screen.h"
#include "platform/qt/window_view.h"
#include "platform/rt/event_loop.h"
#include "platform/rt/user_action.h"
#include "tests/support/file_text.h"
#include "user_at_qt_screen.h"

namespace {

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

// A user at the keyboard: at each idle moment the next step runs once its window is on top
// and it is ready.
class TypingUser final : public UserAtQtScreen {
 public:
  struct Step {
    const char* caption;
    std::function<bool(rt::Window&, qtscreen::WindowView&)> ready;  // nullptr: at once
    std::function<void(rt::Window&, qtscreen::WindowView&)> act;
  };

  explicit TypingUser(std::vector<Step> steps) : steps_(std::move(steps)) {}

  std::size_t StepsTaken() const { return next_; }

 private:
  std::string Where() const override { return "step " + std::to_string(next_); }

  void Act(rt::Window& top) override {
    if (next_ >= steps_.size() || top.Def().caption != steps_[next_].caption) return;
    qtscreen::WindowView* view = Screen().ViewOf(top);
    if (!view) return;
    const Step& step = steps_[next_];
    if (step.ready && !step.ready(top, *view)) return;
    ++next_;
    view->activateWindow();
    QApplication::processEvents();
    step.act(top, *view);
  }

  std::vector<Step> steps_;
  std::size_t next_ = 0;
};

template <class W>
W* Widget(qtscreen::WindowView& view, const char* equate) {
  W* widget = view.findChild<W*>(QString::fromLatin1(equate));
  EXPECT_NE(widget, nullptr) << equate;
  return widget;
}

using test_support::FileText;

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

// The librarian on the Qt screen against the simulated unit, with a user taking `steps`.
void RunLibrarianWith(const std::vector<TypingUser::Step>& steps) {
  rt::Program program = LibrarianProgram();
  program.screen = [&steps] { return std::make_unique<TypingUser>(steps); };
  char name[] = "boxwright";
  char* argv[] = {name, nullptr};
  EXPECT_EQ(rt::RunProgram(1, argv, program), 0);
}

// The control that holds the keyboard focus, by its equate (a spin box's text field is the
// spin box's).
std::string FocusedEquate(qtscreen::WindowView& view) {
  for (QWidget* w = QApplication::focusWidget(); w && w != &view; w = w->parentWidget())
    if (w->parentWidget() == &view) return w->objectName().toStdString();
  return "";
}

// Tab goes through the main window as the screen shows it: along each row from the left, the
// rows from the top, then round again; Shift+Tab goes back the same way.
TEST(ProgramKeyboard, TabFollowsTheScreenLeftToRightTopToBottom) {
  setenv("BOXWRIGHT_SIMULATOR", "1", 1);
  unsetenv("BOXWRIGHT_SCREEN");
  midi::SimulatorInstance().Reset();
  midi::InstallBackends({std::make_shared<midi::SimulatorBackend>(midi::SimulatorInstance())});
  const std::vector<std::string> expected = {
      "INDEVICELIST", "OUTDEVICELIST", "CONNECTBUTTON", "CAB:NUMBER:RADIO1", "CAB:SWITCH:RADIO1", "CAB:SIDE:RADIO1",
      "GLO:USERCABOFFSET", "REFRESHBUTTON", "SHEET1", "ALLCABLIST", "GLO:SAFETYMODE", "ABOUTBUTTON", "CLOSEBUTTON"};
  std::vector<std::string> forwards, backwards;
  std::vector<TypingUser::Step> steps = {
      {"Boxwright 1.01", nullptr, [&](rt::Window&, qtscreen::WindowView& view) {
         Widget<QWidget>(view, "INDEVICELIST")->setFocus(Qt::OtherFocusReason);
         for (std::size_t i = 0; i <= expected.size(); ++i) {
           forwards.push_back(FocusedEquate(view));
           QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
         }
         Widget<QWidget>(view, "INDEVICELIST")->setFocus(Qt::OtherFocusReason);
         for (std::size_t i = 0; i <= expected.size(); ++i) {
           QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
           backwards.push_back(FocusedEquate(view));
         }
         view.close();
       }},
  };
  RunLibrarianWith(steps);

  std::vector<std::string> round = expected;
  round.push_back(expected.front());
  EXPECT_EQ(forwards, round);
  std::vector<std::string> back(round.rbegin() + 1, round.rend());
  back.push_back(expected.back());
  EXPECT_EQ(backwards, back);
}

// A tab chosen with the mouse hands the keyboard to its list, from wherever the focus was;
// Space then never reaches the safety switch below the sheet.
TEST(ProgramKeyboard, AClickedTabGivesTheFocusToItsList) {
  setenv("BOXWRIGHT_SIMULATOR", "1", 1);
  unsetenv("BOXWRIGHT_SCREEN");
  midi::SimulatorInstance().Reset();
  midi::InstallBackends({std::make_shared<midi::SimulatorBackend>(midi::SimulatorInstance())});
  std::vector<std::string> focused;
  std::vector<bool> safetyKept;
  std::vector<TypingUser::Step> steps = {
      {"Boxwright 1.01", nullptr, [&](rt::Window&, qtscreen::WindowView& view) {
         auto* sheet = Widget<QTabWidget>(view, "SHEET1");
         auto* safety = Widget<QCheckBox>(view, "GLO:SAFETYMODE");
         // Each tab from the other, the focus first in the shown list or on a button.
         const bool safetyBefore = safety->isChecked();
         for (const char* before : {"ALLCABLIST", "CONNECTBUTTON", "ALLCABLIST", "FAVCABLIST"}) {
           Widget<QWidget>(view, before)->setFocus(Qt::OtherFocusReason);
           const int other = 1 - sheet->currentIndex();
           QTest::mouseClick(sheet->tabBar(), Qt::LeftButton, {}, sheet->tabBar()->tabRect(other).center());
           focused.push_back(FocusedEquate(view));
           QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
           safetyKept.push_back(safety->isChecked() == safetyBefore);
         }
         // The keyboard working the tabs stays on them.
         sheet->tabBar()->setFocus(Qt::TabFocusReason);
         QTest::keyClick(sheet->tabBar(), Qt::Key_Right);
         focused.push_back(FocusedEquate(view));
         view.close();
       }},
  };
  RunLibrarianWith(steps);

  EXPECT_EQ(focused, (std::vector<std::string>{"FAVCABLIST", "ALLCABLIST", "FAVCABLIST", "ALLCABLIST", "SHEET1"}));
  EXPECT_EQ(safetyKept, (std::vector<bool>{true, true, true, true}));
}

}  // namespace
