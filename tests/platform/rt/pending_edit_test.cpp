// Typing the user has not yet given to the runtime goes in before any action that acts on
// the values; Enter and Escape act as a dialog's keys; an entry takes only its characters.
#include <gtest/gtest.h>

#include "platform/rt/dialogs.h"
#include "platform/rt/event_loop.h"
#include "platform/rt/props.h"
#include <functional>

#include "platform/rt/screen.h"
#include "platform/rt/user_action.h"

namespace {

std::string NAME_Typed;
LONG OFFSET_Typed = 0;

namespace ctl {
enum : int { NAME = 1, OFFSET, OK, CANCEL, LIST };
}

struct Row {
  std::string Text;
};
rt::Queue<Row> ROWS;

rt::WindowDef Dialog(bool modal) {
  return rt::WindowDef{
      .caption = "Dialog",
      .modal = modal,
      .controls = {
          {.feq = ctl::NAME, .equate = "NAME", .kind = rt::Kind::Entry, .use = NAME_Typed, .chars = 8,
           .typable = {0x20, 0x7E}},
          {.feq = ctl::OFFSET, .equate = "OFFSET", .kind = rt::Kind::Spin, .use = OFFSET_Typed, .low = 0, .high = 999},
          {.feq = ctl::OK, .equate = "OK", .kind = rt::Kind::Button, .defaultButton = true},
          {.feq = ctl::CANCEL, .equate = "CANCEL", .kind = rt::Kind::Button},
          {.feq = ctl::LIST, .equate = "LIST", .kind = rt::Kind::List,
           .from = rt::From(ROWS, [](const Row& r) { return rt::Columns(r.Text); })},
      }};
}

// A screen where the user has typed into the name entry and not yet left it.
class TypingScreen final : public rt::Screen {
 public:
  void WindowOpened(rt::Window&) override {}
  void WindowClosed(rt::Window&) override {}
  void PropertyChanged(rt::Window&, int, int, int) override {}
  void ListChanged(rt::Window&, int) override {}
  void Wait(std::chrono::milliseconds) override {}
  int Message(const rt::MessageRequest& request) override { return request.defaultButton; }
  std::optional<std::string> ChooseFile(const rt::FileRequest&) override { return std::nullopt; }
  int Popup(const rt::PopupRequest&) override { return popupAnswer; }
  void Beep() override { ++beeps; }
  void CommitEdit(rt::Window& window) override {
    ++commits;
    if (!pending) return;
    const std::string typed = *pending;
    pending.reset();
    EXPECT_EQ(rt::user::Type(window, ctl::NAME, typed), "");
  }

  std::optional<std::string> pending;
  int popupAnswer = 1;
  int beeps = 0;
  int commits = 0;
};

class PendingEdit : public ::testing::Test {
 protected:
  void SetUp() override {
    rt::AnnounceControlKinds({rt::Kind::Entry, rt::Kind::Spin, rt::Kind::Button, rt::Kind::List});
    NAME_Typed = "old";
    ROWS.Free();
    ROWS->Text = "row";
    ROWS.Add();
    auto screen = std::make_unique<TypingScreen>();
    screen_ = screen.get();
    previous_ = rt::UseScreen(std::move(screen));
  }
  void TearDown() override {
    if (w_) rt::CloseWindow(*w_);
    rt::UseScreen(std::move(previous_));
  }
  void Open(bool modal = true) {
    w_ = rt::OpenWindow(Dialog(modal));
    ASSERT_NE(w_, nullptr);
    Events();
  }
  // Each waiting event as event * 100 + field.
  std::vector<int> Events() {
    std::vector<int> seen;
    while (rt::PollEvent(*w_)) seen.push_back(EVENT() * 100 + FIELD());
    return seen;
  }

  TypingScreen* screen_ = nullptr;
  rt::Window* w_ = nullptr;
  std::unique_ptr<rt::Screen> previous_;
};

TEST_F(PendingEdit, EveryActionOnTheValuesTakesTheTypingFirst) {
  struct Case {
    const char* action;
    std::function<std::string(rt::Window&)> act;
    std::vector<int> events;  // after the entry's Accepted
  };
  const Case cases[] = {
      {"press", [](rt::Window& w) { return rt::user::Press(w, ctl::CANCEL); }, {EVENT::Accepted * 100 + ctl::CANCEL}},
      {"enter", [](rt::Window& w) { return rt::user::PressEnter(w); }, {EVENT::Accepted * 100 + ctl::OK}},
      {"select", [](rt::Window& w) { return rt::user::Select(w, ctl::LIST, 1); }, {EVENT::NewSelection * 100 + ctl::LIST}},
      {"right click", [](rt::Window& w) { return rt::user::RightClick(w, ctl::LIST, 1); },
       {EVENT::NewSelection * 100 + ctl::LIST}},
      {"close box",
       [](rt::Window& w) {
         rt::user::Close(w);
         return std::string();
       },
       {EVENT::CloseWindow * 100}},
  };
  Open();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.action);
    w_->SetChoice(ctl::LIST, 0);
    screen_->pending = std::string("typed ") + c.action[0];
    EXPECT_EQ(c.act(*w_), "");
    std::vector<int> expected{EVENT::Accepted * 100 + ctl::NAME};
    expected.insert(expected.end(), c.events.begin(), c.events.end());
    EXPECT_EQ(Events(), expected);
    EXPECT_EQ(NAME_Typed, std::string("typed ") + c.action[0]);
  }
}

TEST_F(PendingEdit, APopupEntryTakesTheTypingBeforeTheProgramActs) {
  Open();
  screen_->pending = "in menu";
  EXPECT_EQ(POPUP("One|Two"), 1);
  EXPECT_EQ(NAME_Typed, "in menu");

  // A popup closed without a choice acts on nothing.
  screen_->popupAnswer = 0;
  screen_->commits = 0;
  EXPECT_EQ(POPUP("One|Two"), 0);
  EXPECT_EQ(screen_->commits, 0);
}

TEST_F(PendingEdit, EnterPressesTheFocusedButtonElseTheDefaultOne) {
  Open();
  w_->SetProp(0, PROP::Focus, ctl::CANCEL);
  EXPECT_EQ(rt::user::PressEnter(*w_), "");
  EXPECT_EQ(Events(), std::vector<int>{EVENT::Accepted * 100 + ctl::CANCEL});
  w_->SetProp(0, PROP::Focus, ctl::NAME);
  EXPECT_EQ(rt::user::PressEnter(*w_), "");
  EXPECT_EQ(Events(), std::vector<int>{EVENT::Accepted * 100 + ctl::OK});
  // A default button the user cannot reach is refused, as a press of it would be.
  w_->SetProp(ctl::OK, PROP::Disable, "1");
  EXPECT_NE(rt::user::PressEnter(*w_), "");
  EXPECT_TRUE(Events().empty());
}

TEST_F(PendingEdit, EscapeClosesOnlyAModalWindow) {
  for (const bool modal : {true, false}) {
    SCOPED_TRACE(modal);
    Open(modal);
    rt::user::PressEscape(*w_);
    EXPECT_EQ(Events(), modal ? std::vector<int>{EVENT::CloseWindow * 100} : std::vector<int>{});
    rt::CloseWindow(*w_);
    w_ = nullptr;
  }
}

TEST_F(PendingEdit, AnEntryLeavesOutWhatItDoesNotTakeWithABeepAndASpinBoxKeepsItsRange) {
  struct Case {
    std::string typed;
    std::string kept;
    int beeps;
  };
  const Case cases[] = {
      {"Plain ~", "Plain ~", 0},
      {"Caf\xC3\xA9 \xC3\xBC", "Caf ", 1},       // two-byte letters
      {"a\tb\x7F" "c", "abc", 1},                // controls below and above the printable range
      {"\xF0\x9F\x8E\xB8rock", "rock", 1},       // a four-byte character
      {"x\xC3y\xFFz", "xyz", 1},                 // bytes that start no whole character
      {"ninechars", "ninechar", 0},              // cut to the entry's length, no beep
  };
  Open();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    screen_->beeps = 0;
    EXPECT_EQ(rt::user::Type(*w_, ctl::NAME, c.typed), "");
    EXPECT_EQ(NAME_Typed, c.kept);
    EXPECT_EQ(screen_->beeps, c.beeps);
  }
  // A spin box takes any digits, and holds its number within its range.
  for (const auto& [typed, held] : {std::pair{"12", 12}, {"1000", 999}, {"-2147483648", 0}, {"99999999999", 999}}) {
    EXPECT_EQ(rt::user::Type(*w_, ctl::OFFSET, typed), "");
    EXPECT_EQ(OFFSET_Typed, held) << typed;
  }
  EXPECT_EQ(screen_->beeps, 0);
}

}  // namespace
