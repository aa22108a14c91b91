// The link class on a real window of the runtime: looks, the pointer, clicks, and columns
// the user drags.
#include <gtest/gtest.h>

#include <functional>

#include "links/link_controls.h"
#include "links/link_text.h"
#include "platform/rt/display.h"
#include "platform/harness/pointer_placing.h"
#include "platform/rt/post.h"
#include "platform/rt/props.h"
#include "platform/win/system/debug_output.h"
#include "tests/links/link_window.h"

namespace {

using namespace links_demo;
using links_test::LinkWindow;
using Runs = std::vector<std::string>;

constexpr LONG kUnderline = 0x2000;
constexpr int kRegion = 2800;

TEST_F(LinkWindow, RegisteredLinksTakeTheirLooks) {
  struct Case {
    int field;
    int prop;
    int index;
    std::string expected;
  } cases[] = {
      {ctl::WEBLINK, PROP::FontColor, 0, std::to_string(kBlue)},
      {ctl::WEBLINK + kRegion, PROP::Cursor, 0, "hand"},
      {ctl::WEBLINK + kRegion, PROP::Imm, 0, "1"},
      {ctl::WEBLINK + kRegion, PROP::Xpos, 0, "10"},
      {ctl::WEBLINK + kRegion, PROP::Ypos, 0, "8"},
      {ctl::WEBLINK + kRegion, PROP::Width, 0, "80"},
      {ctl::WEBLINK + kRegion, PROP::Height, 0, "10"},
      {ctl::MAILLINK, PROP::FontStyle, 0, std::to_string(FONT::Normal | FONT::Underline)},
      {ctl::MAILLINK + kRegion, PROP::Cursor, 0, "hand"},
      {ctl::HOMEPAGE, PROP::Alrt, 1, std::to_string(KEY::MouseLeft)},
      {ctl::HOMEPAGE, PROP::Cursor, 0, "hand"},
      {ctl::HOMEPAGE, PROP::FontColor, 0, std::to_string(kBlue)},
      {ctl::SITES, PROP::FontColor, 0, std::to_string(kBlue)},
      {ctl::NOTES, PROP::FontColor, 0, std::to_string(kBlue)},
      {ctl::PEOPLE, PROP::ColumnStyle, 3, "2"},
      {ctl::PEOPLE, PROP::ColumnStyle, 4, "4"},
      {ctl::PEOPLE, PROP::StyleFontColor, 2, std::to_string(kBlue)},
      {ctl::PEOPLE, PROP::StyleFontColor, 3, std::to_string(kRed)},
      {ctl::PEOPLE, PROP::StyleFontStyle, 5, std::to_string(kUnderline)},
      {ctl::OLDLINK + kRegion, PROP::Disable, 0, "1"},
      {ctl::OLDLINK + kRegion, PROP::Cursor, 0, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(Prop(c.field, c.prop, c.index), c.expected) << c.field << " " << c.prop;
  EXPECT_NE(Number(ctl::WEBLINK, PROP::FontStyle) & kUnderline, 0);
  EXPECT_NE(Number(ctl::HOMEPAGE, PROP::FontStyle) & kUnderline, 0);
  EXPECT_EQ(Row(ctl::HOMEPAGE).UseEvent, EVENT::AlertKey);
  EXPECT_EQ(Row(ctl::HOMEPAGE).UseStdAction, KEY::MouseLeft);
  EXPECT_EQ(Row(ctl::PEOPLE, 3).HandCursor, 1);
  // An inactive link reads as the window's plain text.
  EXPECT_EQ(Prop(ctl::OLDLINK, PROP::FontColor), Prop(0, PROP::FontColor));
  EXPECT_EQ(Prop(ctl::OLDLINK, PROP::FontStyle), Prop(0, PROP::FontStyle));
}

TEST_F(LinkWindow, FeatureBitsGiveUnderlineAndTheEventThatRuns) {
  struct Case {
    LONG features;
    BYTE underline;
    LONG useEvent;
  } cases[] = {{0, 0, 0}, {1, 1, 0}, {2, 0, 1}, {3, 1, 1}, {30, 0, 15}, {-1, 1, 0x7FFFFFFF}};
  for (const auto& c : cases) {
    rt::SetProp(ctl::SCROLLLINK, PROP::FontStyle, static_cast<long long>(FONT::Normal));
    vrLinkbrightClass link;
    link.Init(0, 1);
    link.AddItem(ctl::SCROLLLINK, {}, {}, {}, c.features);
    const LinkItemRow& row = link.ItemQ->Peek(1);
    EXPECT_EQ(row.Underline, c.underline) << c.features;
    EXPECT_EQ(row.UseEvent, c.useEvent) << c.features;
    // Whatever bit 0 says, the control's font is underlined.
    EXPECT_EQ(Number(ctl::SCROLLLINK, PROP::FontStyle), FONT::Normal | kUnderline) << c.features;
  }
}

TEST_F(LinkWindow, EachLinkColumnOfAListGetsAPairOfStyles) {
  struct Column {
    const char* number;
    std::optional<LONG> color;
    std::optional<LONG> features;
  };
  struct Case {
    std::vector<Column> columns;
    std::vector<LONG> styles;
  } cases[] = {
      {{{"3", kBlue, {}}, {"4", kBlue, {}}}, {2, 4}},
      {{{"3", kBlue, 6}, {"4", kBlue, {}}}, {6, 8}},
      {{{"3", kBlue, -1}, {"4", kBlue, -1}}, {2, 4}},
      {{{"3", kBlue, 1}, {"4", kBlue, 3}}, {2, 4}},
      {{{"3", {}, {}}, {"4", kBlue, {}}}, {0, 2}},
  };
  for (const auto& c : cases) {
    vrLinkbrightClass link;
    link.Init(0, 1);
    for (const auto& column : c.columns) link.AddItem(ctl::PEOPLE, column.number, column.color, kRed, column.features);
    std::vector<LONG> styles;
    for (size_t i = 1; i <= link.ItemQ->Records(); ++i) styles.push_back(link.ItemQ->Peek(i).Style);
    EXPECT_EQ(styles, c.styles) << c.columns[0].number;
  }
}

TEST_F(LinkWindow, StringLinksBrightenUnderThePointer) {
  Hover(ctl::WEBLINK);
  EXPECT_EQ(Number(ctl::WEBLINK, PROP::FontColor), kRed);
  EXPECT_EQ(Row(ctl::WEBLINK).Working, 1);
  Hover(ctl::MAILLINK);
  EXPECT_EQ(Number(ctl::WEBLINK, PROP::FontColor), kBlue);
  EXPECT_EQ(Number(ctl::MAILLINK, PROP::FontColor), kRed);
  EXPECT_EQ(Number(ctl::MAILLINK, PROP::FontStyle), FONT::Bold | FONT::Underline);
  rt::user::PointerLeft(*w_);
  Drain();
  EXPECT_EQ(Number(ctl::MAILLINK, PROP::FontColor), kBlue);
  EXPECT_EQ(Number(ctl::MAILLINK, PROP::FontStyle), FONT::Normal | FONT::Underline);
  EXPECT_EQ(Row(ctl::MAILLINK).Working, 0);
}

TEST_F(LinkWindow, APointerThatLeftWithoutMouseOutIsCaughtByTheNextTrackingEvent) {
  Hover(ctl::WEBLINK);
  // The pointer jumps onto the list and the region never hears it go.
  rt::Pointer at;
  ASSERT_EQ(harness::PointerOver(*w_, ctl::PEOPLE, 1, 2, at), "");
  w_->NotePointer(at, ctl::PEOPLE);
  POST(EVENT::MouseMove, ctl::PEOPLE);
  Drain();
  EXPECT_EQ(Row(ctl::WEBLINK).Working, 0);
  EXPECT_EQ(Number(ctl::WEBLINK, PROP::FontColor), kBlue);
}

TEST_F(LinkWindow, ListLinksFollowThePointerOverTheirColumn) {
  Hover(ctl::PEOPLE, 2, 3);
  EXPECT_EQ(Prop(ctl::PEOPLE, PROP::Cursor), "hand");
  EXPECT_EQ(w_->CellStyle(ctl::PEOPLE, 2, 3), 3);  // the hover style of the mail column
  EXPECT_EQ(Row(ctl::PEOPLE, 3).Working, 2);
  Hover(ctl::PEOPLE, 3, 3);
  EXPECT_EQ(w_->CellStyle(ctl::PEOPLE, 2, 3), 2);
  EXPECT_EQ(w_->CellStyle(ctl::PEOPLE, 3, 3), 3);
  Hover(ctl::PEOPLE, 3, 4);
  EXPECT_EQ(w_->CellStyle(ctl::PEOPLE, 3, 3), 2);
  EXPECT_EQ(w_->CellStyle(ctl::PEOPLE, 3, 4), 5);
  EXPECT_EQ(Row(ctl::PEOPLE, 3).Working, 0);
  Hover(ctl::PEOPLE, 3, 2);  // off both link columns
  EXPECT_EQ(Prop(ctl::PEOPLE, PROP::Cursor), "");
  EXPECT_EQ(w_->CellStyle(ctl::PEOPLE, 3, 4), 4);
}

TEST_F(LinkWindow, EventsRunTheirLinks) {
  struct Case {
    std::function<std::string(rt::Window&)> act;
    Runs runs;
  } cases[] = {
      {[](rt::Window& w) { return rt::user::Click(w, ctl::WEBLINK + kRegion); }, {"www.example.org"}},
      {[](rt::Window& w) { return rt::user::Click(w, ctl::SCROLLLINK + kRegion); }, {"https://example.org/news"}},
      {[](rt::Window& w) { return rt::user::Click(w, ctl::MAILLINK + kRegion); }, {"ann@example.com?subject=Hello there"}},
      {[](rt::Window& w) { return rt::user::Press(w, ctl::OPENBUTTON); }, {"https://shop.example.org"}},
      {[](rt::Window& w) { return rt::user::Type(w, ctl::SITES, "www.example.net"); }, {"www.example.net"}},
      {[](rt::Window& w) { return rt::user::Type(w, ctl::NOTES, "Newer notes"); }, {"https://notes.example.org"}},
      {[](rt::Window& w) { return rt::user::Select(w, ctl::PEOPLE, 2, 3); }, {"\"Bo Ray <bo@example.com>\""}},
      {[](rt::Window& w) { return rt::user::Select(w, ctl::PEOPLE, 3, 4); }, {"http://cy.example/page one"}},
      // A right click on a link column opens no link; neither does a click on another column.
      {[](rt::Window& w) { return rt::user::RightClick(w, ctl::PEOPLE, 1, 3); }, {}},
      {[](rt::Window& w) { return rt::user::Select(w, ctl::PEOPLE, 1, 2); }, {}},
      // Nothing runs an inactive link.
      {[](rt::Window& w) { return rt::user::Click(w, ctl::OLDLINK); }, {}},
  };
  for (auto& c : cases) {
    links_.runs.clear();
    EXPECT_EQ(c.act(*w_), "");
    Drain();
    EXPECT_EQ(links_.runs, c.runs) << (c.runs.empty() ? "" : c.runs[0]);
  }
  EXPECT_NE(rt::user::Click(*w_, ctl::OLDLINK + kRegion), "");  // its region is disabled
}

TEST_F(LinkWindow, AnEntryLinkSelectsOnTheFirstClickAndRunsOnTheNext) {
  SELECT(ctl::SITES);
  Drain();
  ASSERT_EQ(rt::user::Click(*w_, ctl::HOMEPAGE), "");
  Drain();
  EXPECT_EQ(links_.runs, Runs{});
  EXPECT_EQ(FOCUS(), ctl::HOMEPAGE);
  ASSERT_EQ(rt::user::Click(*w_, ctl::HOMEPAGE), "");
  Drain();
  EXPECT_EQ(links_.runs, Runs{"https://home.example.org/start"});
}

TEST_F(LinkWindow, AcceptAllModeNeverRunsALink) {
  rt::SetProp(0, PROP::AcceptAll, 1LL);
  ASSERT_EQ(rt::user::Click(*w_, ctl::WEBLINK + kRegion), "");
  ASSERT_EQ(rt::user::Press(*w_, ctl::OPENBUTTON), "");
  Drain();
  EXPECT_EQ(links_.runs, Runs{});
  rt::SetProp(0, PROP::AcceptAll, 0LL);
  ASSERT_EQ(rt::user::Press(*w_, ctl::OPENBUTTON), "");
  Drain();
  EXPECT_EQ(links_.runs, Runs{"https://shop.example.org"});
}

TEST_F(LinkWindow, InactiveEntryLosesItsLookAndItsKey) {
  const std::string inactiveColor = std::to_string(Row(ctl::HOMEPAGE).InactiveColor);
  EXPECT_EQ(links_.SetActive(ctl::HOMEPAGE, 0), 1);
  links_.Refresh(ctl::HOMEPAGE);
  EXPECT_EQ(Prop(ctl::HOMEPAGE, PROP::FontColor), inactiveColor);
  EXPECT_EQ(Number(ctl::HOMEPAGE, PROP::FontStyle) & kUnderline, 0);
  EXPECT_EQ(Prop(ctl::HOMEPAGE, PROP::Cursor), "");
  EXPECT_EQ(Number(ctl::HOMEPAGE, PROP::Alrt, 1), 0);
  ASSERT_EQ(rt::user::Click(*w_, ctl::HOMEPAGE), "");
  ASSERT_EQ(rt::user::Click(*w_, ctl::HOMEPAGE), "");
  Drain();
  EXPECT_EQ(links_.runs, Runs{});

  EXPECT_EQ(links_.SetActive(ctl::HOMEPAGE, 1), 1);
  links_.Refresh(ctl::HOMEPAGE);
  EXPECT_EQ(Number(ctl::HOMEPAGE, PROP::FontColor), kBlue);
  EXPECT_EQ(Number(ctl::HOMEPAGE, PROP::Alrt, 1), KEY::MouseLeft);
  EXPECT_EQ(links_.SetActive(ctl::OPENBUTTON + 99, 0), 0);
}

TEST_F(LinkWindow, EveryKindOfLinkMadeInactiveAndActiveAgainTakesClicksAgain) {
  struct Case {
    int link;
    int clicked;
    std::string runs;
  } cases[] = {
      {ctl::MAPAREA, ctl::MAPAREA, "https://map.example.org"},
      {ctl::WEBLINK, ctl::WEBLINK + kRegion, "www.example.org"},
      {ctl::MAILLINK, ctl::MAILLINK + kRegion, "ann@example.com?subject=Hello there"},
  };
  // With a hand cursor of its own, and with the platform's default (a blank name).
  for (const std::string& hand : {std::string(CURSOR::Hand), std::string()}) {
    links_.HandCursorToUse = hand;
    for (const auto& c : cases) {
      links_.runs.clear();
      ASSERT_EQ(links_.SetActive(c.link, 0), 1);
      links_.Refresh(c.link);
      EXPECT_NE(rt::user::Click(*w_, c.clicked), "") << c.link;  // disabled
      ASSERT_EQ(links_.SetActive(c.link, 1), 1);
      links_.Refresh(c.link);
      EXPECT_EQ(rt::user::Click(*w_, c.clicked), "") << c.link << " '" << hand << "'";
      Drain();
      EXPECT_EQ(links_.runs, Runs{c.runs}) << c.link << " '" << hand << "'";
      EXPECT_EQ(Prop(c.clicked, PROP::Cursor), hand) << c.link;
    }
  }
  // A region its window disabled stays disabled, whatever the link's state.
  rt::SetProp(ctl::MAPAREA, PROP::Disable, 1LL);
  links_.Refresh(ctl::MAPAREA);
  EXPECT_EQ(Prop(ctl::MAPAREA, PROP::Disable), "1");
}

TEST_F(LinkWindow, ThePropertiesTraceWritesItsNumbersInDecimal) {
  std::vector<std::string> lines;
  win::SetDebugSink([&](std::string_view line) { lines.emplace_back(line); });
  links_.DebugOn = 1;
  links_.Refresh(ctl::WEBLINK);
  win::SetDebugSink({});
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[1],
            "Linkbright: vrLinkbrightClass.SetControlProperties: Set control properties. Disabled: 0 Active: 1 "
            "Working: 0 Hidden: 0 Position: 10;8;80;10 ParentControl: 0 Disabled: 0");
}

TEST_F(LinkWindow, RefreshAllTouchesOnlyRegionBackedLinksAndEntries) {
  for (int field : {ctl::WEBLINK, ctl::MAILLINK, ctl::HOMEPAGE, ctl::SITES, ctl::OPENBUTTON, ctl::NOTES}) {
    rt::SetProp(field, PROP::FontColor, 123LL);
  }
  rt::SetProp(ctl::PEOPLE, PROP::StyleFontColor, 123LL, 2);
  links_.Refresh(0);
  EXPECT_EQ(Number(ctl::WEBLINK, PROP::FontColor), kBlue);
  EXPECT_EQ(Number(ctl::MAILLINK, PROP::FontColor), kBlue);
  EXPECT_EQ(Number(ctl::HOMEPAGE, PROP::FontColor), kBlue);
  EXPECT_EQ(Number(ctl::SITES, PROP::FontColor), 123);
  EXPECT_EQ(Number(ctl::OPENBUTTON, PROP::FontColor), 123);
  EXPECT_EQ(Number(ctl::NOTES, PROP::FontColor), 123);
  EXPECT_EQ(Number(ctl::PEOPLE, PROP::StyleFontColor, 2), 123);
}

TEST_F(LinkWindow, CheckedLinksThatNothingOpensTurnInactive) {
  links_.CheckURLs = 1;
  links_.ChangeURL(ctl::WEBLINK, "notes.boxwright-nothing");
  EXPECT_EQ(Row(ctl::WEBLINK).Active, 0);
  EXPECT_EQ(Prop(ctl::WEBLINK + kRegion, PROP::Disable), "1");
  links_.ChangeURL(ctl::WEBLINK, "ann@example.com");  // the private desktop has a mail program
  EXPECT_EQ(Row(ctl::WEBLINK).Active, 1);
  EXPECT_EQ(Row(ctl::WEBLINK).URL, "ann@example.com");
  links_.ChangeURL(ctl::WEBLINK);
  EXPECT_EQ(Row(ctl::WEBLINK).URL, "");
}

// A desktop whose handler has a long command line, as sandboxed browsers and mail programs have.
class LongHandler : public LinkWindow, public ::testing::WithParamInterface<size_t> {
 protected:
  LongHandler() : LinkWindow({"mailto", "text/html", "application/pdf"}, {.commandLength = GetParam()}) {}
};

TEST_P(LongHandler, IsFoundByInitRegCheckAndCheckedLinks) {
  const std::string command = desktop_.Command();
  ASSERT_EQ(command.size(), GetParam());
  EXPECT_EQ(links_.LinkbrightEmail, command);  // Init, in SetUp
  EXPECT_EQ(links_.LinkbrightBrowser, command);
  vrLinkbrightClass fresh;  // no Init: RegCheck reads the associations itself
  EXPECT_EQ(fresh.RegCheck("report.pdf"), 1);
  EXPECT_EQ(fresh.OpenProgram, command);
  EXPECT_EQ(fresh.RegCheck("ann@example.com"), 1);
  EXPECT_EQ(fresh.LinkbrightEmail, command);
  links_.CheckURLs = 1;
  for (const char* target : {"report.pdf", "ann@example.com", "www.example.com"}) {
    links_.ChangeURL(ctl::WEBLINK, target);
    EXPECT_EQ(Row(ctl::WEBLINK).Active, 1) << target;
    EXPECT_EQ(Number(ctl::WEBLINK + kRegion, PROP::Disable), 0) << target;
  }
}

INSTANTIATE_TEST_SUITE_P(Commands, LongHandler, ::testing::Values(199, 200, 500));

TEST_F(LinkWindow, MovedLinkColumnsKeepTheirLinksAndStyles) {
  ASSERT_EQ(rt::user::MoveColumn(*w_, ctl::PEOPLE, 4, 3), "");  // site before mail
  Drain();
  EXPECT_EQ(Row(ctl::PEOPLE, 4).Style, 2);  // the mail link, now the fourth column
  EXPECT_EQ(Row(ctl::PEOPLE, 3).Style, 4);
  EXPECT_EQ(Prop(ctl::PEOPLE, PROP::ColumnStyle, 4), "2");
  EXPECT_EQ(Prop(ctl::PEOPLE, PROP::ColumnStyle, 3), "4");
  ASSERT_EQ(rt::user::Select(*w_, ctl::PEOPLE, 1, 4), "");
  Drain();
  EXPECT_EQ(links_.runs, Runs{"\"Ann Lee <ann@example.com>\""});
  // And back again, as recorded after the first move.
  ASSERT_EQ(rt::user::MoveColumn(*w_, ctl::PEOPLE, 3, 4), "");
  Drain();
  EXPECT_EQ(Row(ctl::PEOPLE, 3).Style, 2);
  EXPECT_EQ(Row(ctl::PEOPLE, 4).Style, 4);
}

TEST_F(LinkWindow, MoveTablesGivenByTheCaller) {
  using links::MoveTableBytes;
  struct Case {
    std::vector<LONG> from, to;
    LONG result;
    std::vector<std::pair<LONG, LONG>> rows;  // (column, style) of the link rows, in order
  } cases[] = {
      {{3, 4}, {4, 3}, 0, {{3, 4}, {4, 2}}},     // swapped: the rows trade numbers
      {{3, 3}, {5, 6}, 2, {{4, 4}, {5, 2}}},     // the second entry finds the row already moved
      {{3}, {0}, 0, {{4, 4}, {1024, 2}}},        // no new number: the temporary one stays
      {{2}, {7}, 0, {{3, 2}, {4, 4}}},           // not a link column: ignored
  };
  for (const auto& c : cases) {
    links_demo::DemoLinks links;
    links.Init(0, 1);
    links.AddItem(ctl::PEOPLE, "3", kBlue, kRed);
    links.AddItem(ctl::PEOPLE, "4", kBlue, kRed);
    EXPECT_EQ(links.ChangeColumn(ctl::PEOPLE, MoveTableBytes(c.from), MoveTableBytes(c.to)), c.result);
    std::vector<std::pair<LONG, LONG>> rows;
    for (size_t i = 1; i <= links.ItemQ->Records(); ++i) rows.emplace_back(links.ItemQ->Peek(i).Column, links.ItemQ->Peek(i).Style);
    EXPECT_EQ(rows, c.rows) << c.from[0];
  }
}

}  // namespace

namespace {

TEST_F(LinkWindow, SaveFormatRecordsEveryColumnOnceUnlessToldToStartAfresh) {
  // SetUpLinks recorded the list's four columns.
  EXPECT_EQ(links_.TrackerQ->Records(), 4u);
  links_.SaveFormat(links_demo::ctl::SITES);
  EXPECT_EQ(links_.TrackerQ->Records(), 5u);
  links_.SaveFormat(links_demo::ctl::PEOPLE);  // found again: positions written, nothing added
  EXPECT_EQ(links_.TrackerQ->Records(), 5u);
  links_.SaveFormat(links_demo::ctl::PEOPLE, 1);  // added without looking
  EXPECT_EQ(links_.TrackerQ->Records(), 9u);
  links_.SaveFormat(links_demo::ctl::PEOPLE, 2);  // every list forgotten first
  EXPECT_EQ(links_.TrackerQ->Records(), 4u);
  for (size_t i = 1; i <= 4; ++i) {
    EXPECT_EQ(links_.TrackerQ->Peek(i).Control, links_demo::ctl::PEOPLE);
    EXPECT_EQ(links_.TrackerQ->Peek(i).ColumnNo, static_cast<LONG>(i));
    EXPECT_EQ(links_.TrackerQ->Peek(i).OldFormatCol, Prop(links_demo::ctl::PEOPLE, PROP::ColumnFormat, static_cast<int>(i)));
  }
}

}  // namespace
