// The pointer over controls, clicks, alerted keys, controls created while a window is open,
// and lists whose columns the user rearranges and whose cells have styles.
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "platform/rt/display.h"
#include "platform/rt/error_code.h"
#include "platform/rt/event_loop.h"
#include "platform/rt/props.h"
#include "platform/rt/queue.h"
#include "platform/rt/user_action.h"

namespace {

struct SongRow {
  LONG No = 0;
  std::string Title;
  std::string Mail;
};

rt::Queue<SongRow> SONGS;
std::string LOC_Name;

namespace ctl {
enum : int { LINK = 1, NAME, SONGLIST, SAVEBUTTON };
inline constexpr int LINKREGION = LINK + 2800;
}

// Columns 1 and 3 may be dragged; column 2 stays where the format puts it.
constexpr const char* kSongFormat = "20R^~No.~@n3@60L~Title~@s20@80L^~Mail~@s40@";

const rt::WindowDef kWindow{
    .caption = "Mouse",
    .controls = {
        {.feq = ctl::LINK, .equate = "LINK", .kind = rt::Kind::String, .text = "www.example.org", .at = {10, 10, 60, 10}},
        {.feq = ctl::NAME, .equate = "LOC:NAME", .kind = rt::Kind::Entry, .at = {10, 30, 60, 12}, .use = LOC_Name},
        {.feq = ctl::SONGLIST, .equate = "SONGLIST", .kind = rt::Kind::List, .at = {10, 50, 160, 60},
         .from = rt::From(SONGS, [](const SongRow& r) { return rt::Columns(r.No, r.Title, r.Mail); }),
         .format = kSongFormat},
        {.feq = ctl::SAVEBUTTON, .equate = "SAVEBUTTON", .kind = rt::Kind::Button, .text = "Save", .at = {10, 120, 40, 14}},
    }};

using Seen = std::vector<std::pair<int, int>>;

class Mouse : public ::testing::Test {
 protected:
  void SetUp() override {
    rt::AnnounceControlKinds({rt::Kind::String, rt::Kind::Entry, rt::Kind::List, rt::Kind::Button, rt::Kind::Region});
    SONGS.Free();
    for (auto [no, title, mail] : {std::tuple{1, "Dark Star", "a@x.org"}, {2, "Ripple", "b@x.org"}, {3, "Box of Rain", "c@x.org"}}) {
      SONGS->No = no;
      SONGS->Title = title;
      SONGS->Mail = mail;
      SONGS.Add();
    }
    w_ = rt::OpenWindow(kWindow);
    ASSERT_NE(w_, nullptr);
    Events();
  }
  void TearDown() override { rt::CloseWindow(*w_); }

  Seen Events() {
    Seen seen;
    while (rt::PollEvent(*w_)) seen.emplace_back(EVENT(), FIELD());
    return seen;
  }
  // A region laid over the link, as a link class makes one.
  void CreateLinkRegion() {
    ASSERT_EQ(CREATE(ctl::LINKREGION, rt::Kind::Region, 0), ctl::LINKREGION);
    for (auto [prop, value] : {std::pair{PROP::Xpos, 10}, {PROP::Ypos, 10}, {PROP::Width, 60}, {PROP::Height, 10}}) {
      rt::SetProp(ctl::LINKREGION, prop, static_cast<long long>(value));
    }
  }
  void MoveTo(int x, int y) { rt::user::PointerMoved(*w_, rt::Pointer{.x = x, .y = y}); }

  rt::Window* w_ = nullptr;
};

TEST_F(Mouse, ARegionHearsThePointerComeMoveAndGo) {
  CreateLinkRegion();
  MoveTo(5, 5);       // over nothing
  MoveTo(20, 12);     // onto the region (and the string beneath, which does not follow the mouse)
  MoveTo(69, 19);     // its far corner
  MoveTo(70, 12);     // just off its right edge
  EXPECT_EQ(Events(), (Seen{{EVENT::MouseIn, ctl::LINKREGION}, {EVENT::MouseMove, ctl::LINKREGION},
                            {EVENT::MouseMove, ctl::LINKREGION}, {EVENT::MouseOut, ctl::LINKREGION}}));
  EXPECT_EQ(MOUSEX(), 70);
  EXPECT_EQ(MOUSEY(), 12);
  MoveTo(20, 12);
  rt::user::PointerLeft(*w_);
  EXPECT_EQ(Events(), (Seen{{EVENT::MouseIn, ctl::LINKREGION}, {EVENT::MouseMove, ctl::LINKREGION},
                            {EVENT::MouseOut, ctl::LINKREGION}}));
  EXPECT_EQ(MOUSEX(), -1);
  EXPECT_EQ(MOUSEY(), -1);
}

TEST_F(Mouse, OnlyShownEnabledControlsThatFollowTheMouseTakeThePointer) {
  CreateLinkRegion();
  rt::SetProp(ctl::LINKREGION, PROP::Disable, 1LL);
  MoveTo(20, 12);
  EXPECT_TRUE(Events().empty());
  rt::SetProp(ctl::LINKREGION, PROP::Disable, 0LL);
  rt::SetProp(ctl::LINKREGION, PROP::Hide, 1LL);
  MoveTo(21, 12);
  EXPECT_TRUE(Events().empty());
  // Any control follows the mouse once Imm is on; the entry takes the pointer from the region.
  rt::SetProp(ctl::NAME, PROP::Imm, 1LL);
  rt::SetProp(ctl::LINKREGION, PROP::Hide, 0LL);
  MoveTo(20, 12);
  MoveTo(20, 35);
  EXPECT_EQ(Events(), (Seen{{EVENT::MouseIn, ctl::LINKREGION}, {EVENT::MouseMove, ctl::LINKREGION},
                            {EVENT::MouseOut, ctl::LINKREGION}, {EVENT::MouseIn, ctl::NAME}, {EVENT::MouseMove, ctl::NAME}}));
}

TEST_F(Mouse, AListTellsTheCellUnderThePointer) {
  rt::SetProp(ctl::SONGLIST, PROP::Imm, 1LL);
  rt::user::PointerMoved(*w_, rt::Pointer{.x = 40, .y = 70, .list = ctl::SONGLIST, .row = 2, .column = 2, .zone = LISTZONE::Field});
  EXPECT_EQ(rt::GetPropNumber(ctl::SONGLIST, PROP::MouseMoveRow), 2);
  EXPECT_EQ(rt::GetPropNumber(ctl::SONGLIST, PROP::MouseMoveField), 2);
  EXPECT_EQ(rt::GetPropNumber(ctl::SONGLIST, PROP::MouseMoveZone), LISTZONE::Field);
  EXPECT_EQ(Events(), (Seen{{EVENT::MouseIn, ctl::SONGLIST}, {EVENT::MouseMove, ctl::SONGLIST}}));
  // A list the pointer is not over, or a "list" that is none, answers nothing.
  rt::user::PointerMoved(*w_, rt::Pointer{.x = 20, .y = 35, .list = ctl::NAME, .row = 1, .column = 1, .zone = 0});
  EXPECT_EQ(rt::GetPropNumber(ctl::SONGLIST, PROP::MouseMoveRow), 0);
  EXPECT_EQ(rt::GetPropNumber(ctl::NAME, PROP::MouseMoveRow), 0);
  EXPECT_EQ(rt::GetPropNumber(ctl::SONGLIST, PROP::MouseMoveZone), LISTZONE::Nowhere);
}

struct ClickCase {
  const char* what;
  int field;
  int alerted;  // KEY::MouseLeft alerted in slot 3, or 0
  Seen events;
  int focus;
  int keyCode;
};

TEST_F(Mouse, ALeftClickDoesWhatTheControlDoesWithIt) {
  CreateLinkRegion();
  const ClickCase cases[] = {
      {"region", ctl::LINKREGION, 0, {{EVENT::Accepted, ctl::LINKREGION}}, 0, 0},
      {"alerted region", ctl::LINKREGION, KEY::MouseLeft, {{EVENT::AlertKey, ctl::LINKREGION}}, 0, KEY::MouseLeft},
      {"entry", ctl::NAME, 0, {{EVENT::Selected, ctl::NAME}}, ctl::NAME, 0},
      {"alerted entry keeps the focus where it was", ctl::NAME, KEY::MouseLeft, {{EVENT::AlertKey, ctl::NAME}}, 0, KEY::MouseLeft},
      {"string", ctl::LINK, 0, {}, 0, 0},
  };
  for (const ClickCase& c : cases) {
    SCOPED_TRACE(c.what);
    rt::SetProp(0, PROP::Focus, 0LL);
    rt::SetProp(c.field, PROP::Alrt, static_cast<long long>(c.alerted), 3);
    ASSERT_EQ(rt::user::Click(*w_, c.field), "");
    Seen seen;
    int keyCode = 0;
    while (rt::PollEvent(*w_)) {
      seen.emplace_back(EVENT(), FIELD());
      keyCode = KEYCODE();
    }
    EXPECT_EQ(seen, c.events);
    EXPECT_EQ(keyCode, c.keyCode);
    EXPECT_EQ(FOCUS(), c.focus);
    rt::SetProp(c.field, PROP::Alrt, 0LL, 3);
  }
  EXPECT_NE(rt::user::Click(*w_, ctl::SAVEBUTTON), "");
  EXPECT_NE(rt::user::Click(*w_, ctl::LINKREGION + 1), "");
}

TEST_F(Mouse, AlertSlotsAreReadAndWritten) {
  EXPECT_FALSE(w_->Alerts(ctl::NAME, KEY::MouseLeft));
  rt::SetProp(ctl::NAME, PROP::Alrt, static_cast<long long>(KEY::MouseLeft), 255);
  EXPECT_EQ(rt::GetPropNumber(ctl::NAME, PROP::Alrt, 255), KEY::MouseLeft);
  EXPECT_TRUE(w_->Alerts(ctl::NAME, KEY::MouseLeft));
  rt::SetProp(ctl::NAME, PROP::Alrt, 0LL, 255);  // emptied
  EXPECT_FALSE(w_->Alerts(ctl::NAME, KEY::MouseLeft));
  rt::SetProp(ctl::NAME, PROP::Alrt, static_cast<long long>(KEY::MouseLeft), 256);  // no such slot
  EXPECT_FALSE(w_->Alerts(ctl::NAME, KEY::MouseLeft));
  // The window keeps its Buffer setting for the program.
  rt::SetProp(0, PROP::Buffer, 1LL);
  EXPECT_EQ(rt::GetPropNumber(0, PROP::Buffer), 1);
}

TEST_F(Mouse, ControlsAreCreatedOnlyWhereTheyCanBe) {
  struct Refused {
    const char* what;
    int field;
    rt::Kind kind;
    int parent;
  };
  const Refused refused[] = {
      {"a field of the definition", ctl::NAME, rt::Kind::Region, 0},
      {"a parent that does not exist", 3000, rt::Kind::Region, 77},
      {"a kind nobody announced", 3001, rt::Kind::Sheet, 0},
  };
  for (const Refused& r : refused) {
    SCOPED_TRACE(r.what);
    EXPECT_EQ(CREATE(r.field, r.kind, r.parent), 0);
    EXPECT_EQ(ERRORCODE(), ERRORS::ControlNotCreated);
  }
  EXPECT_EQ(CREATE(3002, rt::Kind::Region, ctl::SONGLIST), 3002);
  EXPECT_EQ(ERRORCODE(), 0);
  EXPECT_EQ(CREATE(3002, rt::Kind::Region, 0), 0);  // taken
  EXPECT_EQ(rt::GetPropNumber(3002, PROP::Type), static_cast<int>(rt::Kind::Region));
  EXPECT_EQ(rt::GetPropNumber(3002, PROP::Parent), ctl::SONGLIST);
  // It lives inside its parent: hidden with it.
  HIDE(ctl::SONGLIST);
  EXPECT_EQ(rt::GetProp(3002, PROP::Visible), "");
}

TEST_F(Mouse, MovedColumnsCarryTheirFormatCellsAndStyles) {
  rt::SetProp(ctl::SONGLIST, PROP::ColumnStyle, 4LL, 3);
  rt::SetCellStyle(ctl::SONGLIST, 2, 3, 5);
  rt::SetProp(ctl::SONGLIST, PROP::StyleFontColor, 0xFF0000LL, 4);
  ASSERT_EQ(rt::user::MoveColumn(*w_, ctl::SONGLIST, 3, 1), "");
  EXPECT_EQ(Events(), (Seen{{EVENT::ColumnResize, ctl::SONGLIST}}));
  EXPECT_EQ(rt::GetPropNumber(ctl::SONGLIST, PROP::Column), 1);
  const char* formats[] = {"80L^~Mail~@s40@", "20R^~No.~@n3@", "60L~Title~@s20@"};
  for (int position = 1; position <= 3; ++position) {
    SCOPED_TRACE(position);
    EXPECT_EQ(rt::GetProp(ctl::SONGLIST, PROP::ColumnExists, position), "1");
    EXPECT_EQ(rt::GetProp(ctl::SONGLIST, PROP::ColumnFormat, position), formats[position - 1]);
  }
  EXPECT_EQ(rt::GetProp(ctl::SONGLIST, PROP::ColumnExists, 4), "");
  EXPECT_EQ(rt::GetProp(ctl::SONGLIST, PROP::Format), std::string(formats[0]) + formats[1] + formats[2]);
  EXPECT_EQ(w_->ListRow(ctl::SONGLIST, 2), (std::vector<std::string>{"b@x.org", "2", "Ripple"}));
  EXPECT_EQ(rt::GetPropNumber(ctl::SONGLIST, PROP::ColumnStyle, 1), 4);
  EXPECT_EQ(rt::GetPropNumber(ctl::SONGLIST, PROP::ColumnStyle, 3), 0);
  EXPECT_EQ(rt::CellStyle(ctl::SONGLIST, 2, 1), 5);
  EXPECT_EQ(rt::CellStyle(ctl::SONGLIST, 2, 3), 0);
  EXPECT_EQ(rt::GetPropNumber(ctl::SONGLIST, PROP::StyleFontColor, 4), 0xFF0000);  // the table is the list's

  // Title (now column 3) is fixed by the format; positions must exist.
  EXPECT_NE(rt::user::MoveColumn(*w_, ctl::SONGLIST, 3, 1), "");
  EXPECT_NE(rt::user::MoveColumn(*w_, ctl::SONGLIST, 1, 4), "");
  EXPECT_NE(rt::user::MoveColumn(*w_, ctl::SONGLIST, 0, 1), "");
  EXPECT_NE(rt::user::MoveColumn(*w_, ctl::NAME, 1, 2), "");
  EXPECT_TRUE(Events().empty());
  // A row with fewer cells than columns shows the missing ones blank, wherever they stand.
  rt::ListArrangement moved;
  moved.Reset(rt::ParseListFormat(kSongFormat));
  ASSERT_TRUE(moved.Move(3, 1));
  EXPECT_EQ(moved.Arrange({"1", "Dark Star"}), (std::vector<std::string>{"", "1", "Dark Star"}));
  // A new format from the program stands as written.
  rt::SetProp(ctl::SONGLIST, PROP::Format, kSongFormat);
  EXPECT_EQ(rt::GetProp(ctl::SONGLIST, PROP::ColumnFormat, 1), "20R^~No.~@n3@");
  EXPECT_EQ(w_->ListRow(ctl::SONGLIST, 2), (std::vector<std::string>{"2", "Ripple", "b@x.org"}));
}

TEST_F(Mouse, AListThatFollowsTheMouseHearsEachPressWithItsButton) {
  using Presses = std::vector<std::tuple<int, int, int>>;  // event, field, key code
  auto presses = [this] {
    Presses seen;
    while (rt::PollEvent(*w_)) seen.emplace_back(EVENT(), FIELD(), KEYCODE());
    return seen;
  };
  ASSERT_EQ(rt::user::Select(*w_, ctl::SONGLIST, 2), "");
  EXPECT_EQ(presses(), (Presses{{EVENT::NewSelection, ctl::SONGLIST, 0}}));
  rt::SetProp(ctl::SONGLIST, PROP::Imm, 1LL);
  ASSERT_EQ(rt::user::Select(*w_, ctl::SONGLIST, 1), "");
  EXPECT_EQ(presses(), (Presses{{EVENT::NewSelection, ctl::SONGLIST, 0}, {EVENT::MouseDown, ctl::SONGLIST, KEY::MouseLeft}}));
  ASSERT_EQ(rt::user::RightClick(*w_, ctl::SONGLIST, 1), "");
  EXPECT_EQ(presses(), (Presses{{EVENT::MouseDown, ctl::SONGLIST, KEY::MouseRight}}));
}

TEST_F(Mouse, AStringWithoutAVariableShowsItsText) {
  EXPECT_EQ(rt::GetProp(ctl::LINK, PROP::ScreenText), "www.example.org");
  rt::SetProp(ctl::LINK, PROP::Text, "www.example.net");
  EXPECT_EQ(rt::GetProp(ctl::LINK, PROP::ScreenText), "www.example.net");
  LOC_Name = "typed";
  DISPLAY(ctl::NAME);
  EXPECT_EQ(rt::GetProp(ctl::NAME, PROP::ScreenText), "typed");
}

}  // namespace
