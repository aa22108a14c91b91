// The mouse on the Qt screen: the pointer over regions and lists, clicks, cursors, list
// styles and columns dragged by their headers, as the runtime hears of them.
#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QTreeView>

#include "platform/rt/display.h"
#include "platform/rt/events.h"
#include "platform/rt/props.h"
#include "screen_fixture.h"

namespace {

namespace ctl = demo::ctl;
using Seen = std::vector<std::pair<int, int>>;

class MouseScreenTest : public ScreenTest {
 protected:
  // A point of the window in dialog units, in pixels.
  QPoint At(int x, int y) const { return view_->Units().ToPixels(x, y, 0, 0).topLeft(); }
  void MoveTo(QPoint pixels) { QTest::mouseMove(view_, pixels); }
  QPoint CellCentre(QTreeView* list, int row, int column) const {
    const QRect cell = list->visualRect(list->model()->index(row, column));
    return list->viewport()->mapTo(view_, cell.center());
  }
};

TEST_F(MouseScreenTest, ARegionHearsThePointerComeAndGo) {
  MoveTo(At(2, 2));
  Events();
  MoveTo(At(100, 222));  // inside LINKREGION (88, 218, 60, 14)
  MoveTo(At(110, 224));
  MoveTo(At(2, 2));
  EXPECT_EQ(Events(), (Seen{{EVENT::MouseIn, ctl::LINKREGION}, {EVENT::MouseMove, ctl::LINKREGION},
                            {EVENT::MouseMove, ctl::LINKREGION}, {EVENT::MouseOut, ctl::LINKREGION}}));
  EXPECT_EQ(MOUSEX(), 2);
  EXPECT_EQ(MOUSEY(), 2);
}

TEST_F(MouseScreenTest, ARegionCreatedLaterTakesThePointerClicksAndItsCursor) {
  // Over the packet count string, as a link makes one.
  ASSERT_EQ(CREATE(ctl::PACKETCOUNT + 2800, rt::Kind::Region), ctl::PACKETCOUNT + 2800);
  const int region = ctl::PACKETCOUNT + 2800;
  for (auto [prop, value] : {std::pair{PROP::Xpos, 236}, {PROP::Ypos, 222}, {PROP::Width, 50}, {PROP::Height, 10}}) {
    rt::SetProp(region, prop, static_cast<long long>(value));
  }
  rt::SetProp(region, PROP::Cursor, CURSOR::Hand);
  QWidget* area = view_->Control(region)->Widget();
  ASSERT_NE(area, nullptr);
  EXPECT_EQ(area->geometry(), view_->Units().ToPixels(236, 222, 50, 10));
  EXPECT_EQ(area->cursor().shape(), Qt::PointingHandCursor);
  MoveTo(At(2, 2));
  Events();
  MoveTo(area->geometry().center());
  QTest::mouseClick(area, Qt::LeftButton);
  EXPECT_EQ(Events(), (Seen{{EVENT::MouseIn, region}, {EVENT::MouseMove, region}, {EVENT::Accepted, region}}));
  rt::SetProp(region, PROP::Cursor, CURSOR::Arrow);
  EXPECT_EQ(area->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(MouseScreenTest, AListTellsTheCellAndHeaderUnderThePointer) {
  rt::SetProp(ctl::ALLCABLIST, PROP::Imm, 1LL);
  auto* list = Widget<QTreeView>("ALLCABLIST");
  MoveTo(CellCentre(list, 2, 2));
  EXPECT_EQ(Events(), (Seen{{EVENT::MouseIn, ctl::ALLCABLIST}, {EVENT::MouseMove, ctl::ALLCABLIST}}));
  EXPECT_EQ(rt::GetPropNumber(ctl::ALLCABLIST, PROP::MouseMoveRow), 3);
  EXPECT_EQ(rt::GetPropNumber(ctl::ALLCABLIST, PROP::MouseMoveField), 3);
  EXPECT_EQ(rt::GetPropNumber(ctl::ALLCABLIST, PROP::MouseMoveZone), LISTZONE::Field);
  rt::SetProp(ctl::ALLCABLIST, PROP::Cursor, CURSOR::Hand);  // over the rows, where the pointer is
  EXPECT_EQ(list->viewport()->cursor().shape(), Qt::PointingHandCursor);
  const QHeaderView* header = list->header();
  MoveTo(header->mapTo(view_, QPoint(header->sectionPosition(1) + 4, header->height() / 2)));
  EXPECT_EQ(rt::GetPropNumber(ctl::ALLCABLIST, PROP::MouseMoveZone), LISTZONE::Header);
  EXPECT_EQ(rt::GetPropNumber(ctl::ALLCABLIST, PROP::MouseMoveField), 2);
  EXPECT_EQ(rt::GetPropNumber(ctl::ALLCABLIST, PROP::MouseMoveRow), 0);
}

TEST_F(MouseScreenTest, ADoubleClickOnARowAcceptsTheListWithTheColumnClicked) {
  auto* list = Widget<QTreeView>("ALLCABLIST");
  const QRect cell = list->visualRect(list->model()->index(1, 2));
  // As the window system sends a double click: a click, then the second press.
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, cell.center());
  EXPECT_EQ(Events(), (Seen{{EVENT::NewSelection, ctl::ALLCABLIST}, {EVENT::Accepted, ctl::ALLCABLIST}}));
  EXPECT_EQ(window_->Choice(ctl::ALLCABLIST), 2);
  EXPECT_EQ(rt::GetPropNumber(ctl::ALLCABLIST, PROP::Column), 3);
}

TEST_F(MouseScreenTest, AColumnDraggedByItsHeaderMovesInTheRuntime) {
  rt::SetProp(ctl::ALLCABLIST, PROP::Format, "32R(2)|M^~Cab No.~@n_3@32R(2)|M~User Cab~@N_3B@252L(2)|M^~Name~@s63@");
  Events();
  auto* list = Widget<QTreeView>("ALLCABLIST");
  QHeaderView* header = list->header();
  const QString first = QString::fromStdString(rt::GetProp(ctl::ALLCABLIST, PROP::ColumnFormat, 1));
  const QString third = QString::fromStdString(rt::GetProp(ctl::ALLCABLIST, PROP::ColumnFormat, 3));
  // Name's header dragged onto Cab No.'s place.
  const QPoint from(header->sectionPosition(2) + 20, header->height() / 2);
  const QPoint to(1, header->height() / 2);
  QTest::mousePress(header->viewport(), Qt::LeftButton, {}, from);
  for (int step = 1; step <= 8; ++step) QTest::mouseMove(header->viewport(), from + (to - from) * step / 8);
  QTest::mouseRelease(header->viewport(), Qt::LeftButton, {}, to);
  EXPECT_EQ(Events(), (Seen{{EVENT::ColumnResize, ctl::ALLCABLIST}}));
  EXPECT_EQ(QString::fromStdString(rt::GetProp(ctl::ALLCABLIST, PROP::ColumnFormat, 1)), third);
  EXPECT_EQ(QString::fromStdString(rt::GetProp(ctl::ALLCABLIST, PROP::ColumnFormat, 2)), first);
  // The screen shows the runtime's order: Name first, its cells with it.
  EXPECT_EQ(list->model()->headerData(0, Qt::Horizontal).toString(), "Name");
  EXPECT_EQ(header->visualIndex(0), 0);
  EXPECT_EQ(list->model()->index(0, 0).data().toString(), "4x12 Green 25");
  // User Cab is held in place by the format: a drag of it changes nothing.
  QTest::mousePress(header->viewport(), Qt::LeftButton, {}, QPoint(header->sectionPosition(2) + 4, header->height() / 2));
  for (int step = 1; step <= 8; ++step) QTest::mouseMove(header->viewport(), QPoint(header->sectionPosition(2) + 4 - step * 20, header->height() / 2));
  QTest::mouseRelease(header->viewport(), Qt::LeftButton, {}, QPoint(2, header->height() / 2));
  EXPECT_TRUE(Events().empty());
  EXPECT_EQ(list->model()->headerData(2, Qt::Horizontal).toString(), "User Cab");
}

TEST_F(MouseScreenTest, CellsAndControlsShowTheirStyles) {
  auto* list = Widget<QTreeView>("ALLCABLIST");
  rt::SetProp(ctl::ALLCABLIST, PROP::StyleFontStyle, static_cast<long long>(FONT::Bold | FONT::Underline), 2);
  rt::SetProp(ctl::ALLCABLIST, PROP::StyleFontColor, 0x0000FFLL, 2);
  rt::SetProp(ctl::ALLCABLIST, PROP::StyleFontColor, 0x00FF00LL, 3);
  rt::SetProp(ctl::ALLCABLIST, PROP::ColumnStyle, 2LL, 3);
  rt::SetCellStyle(ctl::ALLCABLIST, 2, 3, 3);
  const QModelIndex plain = list->model()->index(0, 1), styled = list->model()->index(0, 2), cell = list->model()->index(1, 2);
  EXPECT_FALSE(plain.data(Qt::FontRole).isValid());
  EXPECT_TRUE(styled.data(Qt::FontRole).value<QFont>().underline());
  EXPECT_TRUE(styled.data(Qt::FontRole).value<QFont>().bold());
  EXPECT_EQ(styled.data(Qt::ForegroundRole).value<QBrush>().color(), QColor(255, 0, 0));
  EXPECT_EQ(cell.data(Qt::ForegroundRole).value<QBrush>().color(), QColor(0, 255, 0));  // the cell's own style
  EXPECT_FALSE(cell.data(Qt::FontRole).isValid());

  struct Looked {
    const char* equate;
    int field;
    QPalette::ColorRole role;
  };
  for (const Looked& c : {Looked{"MIDIINPROMPT", ctl::MIDIINPROMPT, QPalette::WindowText},
                          Looked{"GLO:CABNAME", ctl::CABNAME, QPalette::Text},
                          Looked{"INDEVICELIST", ctl::INDEVICELIST, QPalette::ButtonText},
                          Looked{"LOC:MIDIPACKETCOUNT", ctl::PACKETCOUNT, QPalette::WindowText}}) {
    SCOPED_TRACE(c.equate);
    window_->SetProp(c.field, PROP::FontColor, 0xFF0000);
    window_->SetProp(c.field, PROP::FontStyle, FONT::Normal | FONT::Italic | FONT::StrikeOut);
    EXPECT_EQ(Widget(c.equate)->palette().color(c.role), QColor(0, 0, 255));
    EXPECT_TRUE(Widget(c.equate)->font().italic());
    EXPECT_TRUE(Widget(c.equate)->font().strikeOut());
    EXPECT_FALSE(Widget(c.equate)->font().bold());
  }
}

TEST_F(MouseScreenTest, ATextBoxShowsItsLookAndGivesWhatWasTyped) {
  rt::AnnounceControlKinds({rt::Kind::Text});
  const int notes = 3000;
  ASSERT_EQ(CREATE(notes, rt::Kind::Text), notes);
  for (auto [prop, value] : {std::pair{PROP::Xpos, 160}, {PROP::Ypos, 20}, {PROP::Width, 120}, {PROP::Height, 16}}) {
    rt::SetProp(notes, prop, static_cast<long long>(value));
  }
  window_->SetProp(notes, PROP::FontColor, 0x00FF00);
  window_->SetProp(notes, PROP::FontStyle, FONT::Bold);
  window_->SetScreenValue(notes, "first line");
  auto* box = qobject_cast<QPlainTextEdit*>(view_->Control(notes)->Widget());
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->toPlainText(), "first line");
  EXPECT_EQ(box->palette().color(QPalette::Text), QColor(0, 255, 0));
  EXPECT_TRUE(box->font().bold());
  box->setFocus();
  QTest::keyClick(box, Qt::Key_End, Qt::ControlModifier);
  QTest::keyClick(box, Qt::Key_Return);
  QTest::keyClicks(box, "second");
  EXPECT_TRUE(Events().empty());  // nothing is given while the user types
  Widget("GLO:CABNAME")->setFocus();
  EXPECT_EQ(Events(), (Seen{{EVENT::Accepted, notes}}));
  EXPECT_EQ(window_->ScreenValue(notes), "first line\nsecond");
}

TEST_F(MouseScreenTest, AlertedLeftClicksGoToTheProgram) {
  window_->SetProp(ctl::PACKETCOUNT, PROP::Alrt, KEY::MouseLeft, 1);
  window_->SetProp(ctl::CABNAME, PROP::Alrt, KEY::MouseLeft, 2);
  Widget("CONNECTBUTTON")->setFocus();
  Events();
  QTest::mouseClick(Widget("LOC:MIDIPACKETCOUNT"), Qt::LeftButton);
  ASSERT_TRUE(rt::PollEvent(*window_));
  EXPECT_EQ(EVENT(), EVENT::AlertKey);
  EXPECT_EQ(FIELD(), ctl::PACKETCOUNT);
  EXPECT_EQ(KEYCODE(), KEY::MouseLeft);
  QTest::mouseClick(Widget("GLO:CABNAME"), Qt::LeftButton);
  EXPECT_EQ(Events(), (Seen{{EVENT::AlertKey, ctl::CABNAME}}));
  EXPECT_FALSE(Widget("GLO:CABNAME")->hasFocus());  // the program decides what the click does
  window_->SetProp(ctl::CABNAME, PROP::Alrt, 0, 2);
  QTest::mouseClick(Widget("GLO:CABNAME"), Qt::LeftButton);
  EXPECT_TRUE(Events().empty());
  EXPECT_EQ(FOCUS(), ctl::CABNAME);
}

}  // namespace
