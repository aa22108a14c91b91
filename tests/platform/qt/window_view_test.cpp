// The Qt screen kept in step with the runtime: what the runtime holds shows on the widgets
// at once, and what the user does comes back as the runtime's events and variables.
#include <QCheckBox>
#include <QComboBox>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QMimeData>
#include <QPainter>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include "platform/qt/art.h"
#include "platform/rt/display.h"
#include "platform/rt/events.h"
#include "platform/rt/props.h"
#include "screen_fixture.h"

namespace {

namespace ctl = demo::ctl;
using Seen = std::vector<std::pair<int, int>>;

QString Cell(QTreeView* tree, int row, int column) { return tree->model()->index(row, column).data().toString(); }

void ClickRow(QTreeView* tree, int row, Qt::MouseButton button = Qt::LeftButton) {
  const QRect cell = tree->visualRect(tree->model()->index(row, 2));
  QTest::mouseClick(tree->viewport(), button, {}, cell.center());
}

TEST_F(ScreenTest, ControlsShowWhatTheRuntimeHolds) {
  EXPECT_EQ(Widget<QGroupBox>("MIDIDEVICEGROUP")->title(), "MIDI Devices");
  auto* prompt = Widget<QLabel>("MIDIINPROMPT");
  EXPECT_EQ(prompt->buddy(), Widget("INDEVICELIST"));  // its mnemonic reaches the next control
  auto* devices = Widget<QComboBox>("INDEVICELIST");
  EXPECT_EQ(devices->count(), 2);
  EXPECT_EQ(devices->itemText(0), "Boxwright Simulator");
  EXPECT_EQ(devices->currentIndex(), -1);
  EXPECT_TRUE(Widget<QRadioButton>("CAB1")->isChecked());
  EXPECT_FALSE(Widget<QRadioButton>("CAB2")->isChecked());
  EXPECT_EQ(Widget<QGroupBox>("CAB:NUMBER")->title(), "Cabinet");
  EXPECT_EQ(Widget<QSpinBox>("GLO:USERCABOFFSET")->maximum(), 999);
  EXPECT_TRUE(Widget<QCheckBox>("GLO:SAFETYMODE")->isChecked());
  EXPECT_EQ(Widget<QLabel>("LOC:MIDIPACKETCOUNT")->text().trimmed(), "0");
  // Fonts of their own: size and style over the window's family; underline alone keeps the weight.
  EXPECT_EQ(Widget("LOC:MIDIPACKETCOUNT")->font().pointSize(), 10);
  EXPECT_TRUE(Widget("LOC:MIDIPACKETCOUNT")->font().bold());
  EXPECT_TRUE(Widget("GLO:SAFETYMODE")->font().underline());
  EXPECT_EQ(Widget("GLO:SAFETYMODE")->font().weight(), view_->font().weight());
  EXPECT_EQ(Widget("GLO:SAFETYMODE")->font().pointSize(), view_->font().pointSize());
  EXPECT_EQ(Widget<QLineEdit>("GLO:CABNAME")->maxLength(), 31);
  EXPECT_FALSE(Widget<QPushButton>("REFRESHBUTTON")->icon().isNull());
  EXPECT_TRUE(Widget<QPushButton>("CONNECTBUTTON")->icon().isNull());
  EXPECT_FALSE(Widget<QLabel>("LOGO")->pixmap().isNull());
  EXPECT_FALSE(view_->windowIcon().isNull());

  auto* sheet = Widget<QTabWidget>("SHEET1");
  ASSERT_EQ(sheet->count(), 2);
  EXPECT_EQ(sheet->tabText(1), " Favourite Cabs ");
  EXPECT_EQ(sheet->currentIndex(), 0);
  EXPECT_TRUE(Widget("ALLCABLIST")->isVisible());
  EXPECT_FALSE(Widget("FAVCABLIST")->isVisible());
}

TEST_F(ScreenTest, ListsFollowTheirColumnFormat) {
  auto* list = Widget<QTreeView>("ALLCABLIST");
  QAbstractItemModel* model = list->model();
  ASSERT_EQ(model->rowCount(), 5);
  ASSERT_EQ(model->columnCount(), 3);
  const char* headers[] = {"Cab No.", "User Cab", "Name"};
  const int widths[] = {32, 32, 252};
  const Qt::Alignment aligned[] = {Qt::AlignRight, Qt::AlignRight, Qt::AlignLeft};
  for (int column = 0; column < 3; ++column) {
    SCOPED_TRACE(column);
    EXPECT_EQ(model->headerData(column, Qt::Horizontal).toString(), headers[column]);
    EXPECT_EQ(list->header()->sectionSize(column), view_->Units().ToPixelsX(widths[column]));
    EXPECT_EQ(list->header()->sectionResizeMode(column), QHeaderView::Interactive);
    const auto alignment = Qt::Alignment(model->index(0, column).data(Qt::TextAlignmentRole).toInt());
    EXPECT_TRUE(alignment & aligned[column]);
  }
  EXPECT_EQ(Cell(list, 0, 0).trimmed(), "1");
  EXPECT_EQ(Cell(list, 0, 1).trimmed(), "");  // a factory cab has no user number
  EXPECT_EQ(Cell(list, 3, 1).trimmed(), "1");
  EXPECT_EQ(Cell(list, 0, 2), "4x12 Green 25");
}

TEST_F(ScreenTest, AListShowsItsHeaderOnlyWhenAColumnHasATitle) {
  auto* list = Widget<QTreeView>("ALLCABLIST");
  EXPECT_FALSE(list->header()->isHidden());
  rt::SetProp(ctl::ALLCABLIST, PROP::Format, "32R(2)|M@n_3@252L(2)|M@s63@");
  EXPECT_TRUE(list->header()->isHidden());
  rt::SetProp(ctl::ALLCABLIST, PROP::Format, "40R(2)|M~Cab No.~@n_3@200L(2)|M@s63@");
  EXPECT_FALSE(list->header()->isHidden());
  EXPECT_EQ(list->header()->sectionSize(0), view_->Units().ToPixelsX(40));
  EXPECT_EQ(list->header()->sectionSize(1), view_->Units().ToPixelsX(200));
}

// The wallpaper lies as a brush would lay it, from the window's top left corner, whichever
// part of the window is drawn again.
TEST_F(ScreenTest, TheWallpaperIsTiledFromTheTopLeftCorner) {
  const QImage tile = qtscreen::ArtImage("tweed.png");
  ASSERT_FALSE(tile.isNull());
  QImage brushed(view_->size(), QImage::Format_RGB32);
  QPainter(&brushed).fillRect(brushed.rect(), QBrush(tile));
  for (const QRect part : {view_->rect(), QRect(50, 70, 130, 45), QRect(tile.width() - 1, 3 * tile.height() - 2, 3, 5)}) {
    SCOPED_TRACE(part.x());
    QImage drawn(view_->size(), QImage::Format_RGB32);
    drawn.fill(Qt::black);
    view_->render(&drawn, part.topLeft(), QRegion(part), QWidget::DrawWindowBackground);
    for (int y = part.top(); y <= part.bottom(); ++y)
      for (int x = part.left(); x <= part.right(); ++x) ASSERT_EQ(drawn.pixel(x, y), brushed.pixel(x, y)) << x << "," << y;
  }
}

TEST_F(ScreenTest, RuntimeChangesShowAtOnce) {
  window_->SetProp(ctl::CONNECTBUTTON, PROP::Text, "Disconnect");
  EXPECT_EQ(Widget<QPushButton>("CONNECTBUTTON")->text(), "Disconnect");

  window_->SetProp(ctl::CABNUMBER, PROP::Hide, "1");
  EXPECT_FALSE(Widget("CAB:NUMBER")->isVisible());
  EXPECT_FALSE(Widget("CAB2")->isVisible());  // a hidden option hides its radios
  window_->SetProp(ctl::CABNUMBER, PROP::Hide, "");
  EXPECT_TRUE(Widget("CAB2")->isVisible());

  window_->SetProp(ctl::REFRESHBUTTON, PROP::Disable, "1");
  EXPECT_FALSE(Widget("REFRESHBUTTON")->isEnabled());

  demo_.packetCount = 1234;
  demo_.cabNumber = 1;
  demo_.cabName = "Typed by the program";
  window_->Display();
  EXPECT_EQ(Widget<QLabel>("LOC:MIDIPACKETCOUNT")->text().trimmed(), "1,234");
  EXPECT_TRUE(Widget<QRadioButton>("CAB2")->isChecked());
  EXPECT_EQ(Widget<QLineEdit>("GLO:CABNAME")->text(), "Typed by the program");

  demo_.cabs.Buffer() = demo::CabRow{6, 4, "Added"};
  demo_.cabs.Add(&demo::CabRow::CabNum);
  Events();  // the runtime looks at its lists when it goes idle
  EXPECT_EQ(Widget<QTreeView>("ALLCABLIST")->model()->rowCount(), 6);

  window_->SetChoice(ctl::ALLCABLIST, 3);
  EXPECT_EQ(Widget<QTreeView>("ALLCABLIST")->currentIndex().row(), 2);

  window_->SetProp(ctl::CONNECTBUTTON, PROP::FontColor, 0x0000FF);  // red, as 0xBBGGRR
  EXPECT_EQ(Widget("CONNECTBUTTON")->palette().color(QPalette::ButtonText), QColor(255, 0, 0));
  window_->SetProp(ctl::CONNECTBUTTON, PROP::FontStyle, 700);
  EXPECT_TRUE(Widget("CONNECTBUTTON")->font().bold());
  window_->SetProp(ctl::LINKREGION, PROP::Cursor, "hand");
  EXPECT_EQ(Widget("LINKREGION")->cursor().shape(), Qt::PointingHandCursor);
  window_->SetProp(ctl::BOX, PROP::Color, 0x00FF00);
  EXPECT_EQ(Widget("BOX")->palette().color(QPalette::Window), QColor(0, 255, 0));

  window_->SetProp(ctl::CONNECTBUTTON, PROP::Xpos, 100);
  EXPECT_EQ(Widget("CONNECTBUTTON")->x(), view_->Units().ToPixelsX(100));

  window_->SetChoice(ctl::SHEET, 2);
  EXPECT_EQ(Widget<QTabWidget>("SHEET1")->currentIndex(), 1);
  EXPECT_FALSE(Widget("ALLCABLIST")->isVisible());
  EXPECT_TRUE(Widget("FAVCABLIST")->isVisible());
}

TEST_F(ScreenTest, UsersEditsComeBackThroughUpdate) {
  auto* entry = Widget<QLineEdit>("GLO:CABNAME");
  entry->setFocus();
  QTest::keyClicks(entry, QString(40, QLatin1Char('x')));
  EXPECT_EQ(entry->text().size(), 31);  // no more than the entry holds can be typed
  QTest::keyClick(entry, Qt::Key_Return);
  EXPECT_EQ(Events(), (Seen{{EVENT::Accepted, ctl::CABNAME}}));
  EXPECT_EQ(demo_.cabName, std::string(31, 'x'));

  QTest::keyClick(Widget("GLO:USERCABOFFSET"), Qt::Key_Up);
  EXPECT_EQ(Events(), (Seen{{EVENT::Accepted, ctl::USERCABOFFSET}}));
  EXPECT_EQ(demo_.userCabOffset, 1);

  QTest::mouseClick(Widget("GLO:SAFETYMODE"), Qt::LeftButton);
  EXPECT_EQ(Events(), (Seen{{EVENT::Accepted, ctl::SAFETYMODE}}));
  EXPECT_EQ(demo_.safetyMode, 0);

  QTest::mouseClick(Widget("CAB2"), Qt::LeftButton);
  EXPECT_EQ(Events(), (Seen{{EVENT::Accepted, ctl::CABNUMBER}}));
  EXPECT_EQ(demo_.cabNumber, 1);
  EXPECT_TRUE(Widget<QRadioButton>("CAB2")->isChecked());

  auto* devices = Widget<QComboBox>("INDEVICELIST");
  devices->setFocus();
  QTest::keyClick(devices, Qt::Key_Down);
  EXPECT_EQ(Events(), (Seen{{EVENT::NewSelection, ctl::INDEVICELIST}, {EVENT::Accepted, ctl::INDEVICELIST}}));
  EXPECT_EQ(window_->Choice(ctl::INDEVICELIST), 1);

  QTest::mouseClick(Widget("CONNECTBUTTON"), Qt::LeftButton);
  EXPECT_EQ(Events(), (Seen{{EVENT::Accepted, ctl::CONNECTBUTTON}}));
}

// On the wallpaper the keyboard focus must still show: the focused radio or check box is
// framed in its text colour.
TEST_F(ScreenTest, TheKeyboardFocusShowsOnRadiosAndCheckBoxes) {
  auto framePixelsInInk = [](QWidget* widget) {
    const QImage shot = widget->grab().toImage();
    const QRgb ink = widget->palette().color(QPalette::WindowText).rgb();
    int count = 0;
    for (int x = 0; x < shot.width(); ++x) count += (shot.pixel(x, 0) == ink) + (shot.pixel(x, shot.height() - 1) == ink);
    return count;
  };
  for (const char* equate : {"CAB2", "GLO:SAFETYMODE"}) {
    SCOPED_TRACE(equate);
    QWidget* widget = Widget(equate);
    Widget("CONNECTBUTTON")->setFocus();
    const int unfocused = framePixelsInInk(widget);
    widget->setFocus(Qt::TabFocusReason);
    EXPECT_GT(framePixelsInInk(widget), unfocused + widget->width() / 2);
  }
}

TEST_F(ScreenTest, RefusedActionsLeaveTheRuntimesState) {
  window_->SetProp(ctl::CONNECTBUTTON, PROP::Disable, "1");
  Widget<QPushButton>("CONNECTBUTTON")->click();  // the widget is disabled too: no click
  window_->SetProp(ctl::CAB2, PROP::Disable, "1");
  Widget<QRadioButton>("CAB2")->click();
  EXPECT_TRUE(Events().empty());
  EXPECT_TRUE(Widget<QRadioButton>("CAB1")->isChecked());
}

TEST_F(ScreenTest, AHighlightedRowFiresNewSelection) {
  auto* list = Widget<QTreeView>("ALLCABLIST");
  ClickRow(list, 2);
  EXPECT_EQ(Events(), (Seen{{EVENT::NewSelection, ctl::ALLCABLIST}}));
  EXPECT_EQ(window_->Choice(ctl::ALLCABLIST), 3);
  ClickRow(list, 2);  // the same row again is no new selection
  EXPECT_TRUE(Events().empty());
  QTest::keyClick(list, Qt::Key_Down);
  EXPECT_EQ(Events(), (Seen{{EVENT::NewSelection, ctl::ALLCABLIST}}));
  EXPECT_EQ(window_->Choice(ctl::ALLCABLIST), 4);
}

TEST_F(ScreenTest, ARightClickHighlightsTheRowAndAlertsTheKey) {
  auto* list = Widget<QTreeView>("ALLCABLIST");
  ClickRow(list, 3, Qt::RightButton);
  QApplication::processEvents();
  ASSERT_TRUE(rt::PollEvent(*window_));
  if (EVENT() == EVENT::Selected) {  // the list took the focus
    ASSERT_TRUE(rt::PollEvent(*window_));
  }
  EXPECT_EQ(EVENT(), EVENT::NewSelection);
  ASSERT_TRUE(rt::PollEvent(*window_));
  EXPECT_EQ(EVENT(), EVENT::AlertKey);
  EXPECT_EQ(FIELD(), ctl::ALLCABLIST);
  EXPECT_EQ(KEYCODE(), KEY::MouseRight);
  EXPECT_EQ(window_->Choice(ctl::ALLCABLIST), 4);
  EXPECT_EQ(list->currentIndex().row(), 3);

  // Below the rows: the menu still comes, the highlight stays.
  QTest::mouseClick(list->viewport(), Qt::RightButton, {}, QPoint(10, list->viewport()->height() - 3));
  EXPECT_EQ(Events(), (Seen{{EVENT::AlertKey, ctl::ALLCABLIST}}));
  EXPECT_EQ(window_->Choice(ctl::ALLCABLIST), 4);
}

TEST_F(ScreenTest, ChoosingATabShowsItsControls) {
  auto* sheet = Widget<QTabWidget>("SHEET1");
  QTest::mouseClick(sheet->tabBar(), Qt::LeftButton, {}, sheet->tabBar()->tabRect(1).center());
  EXPECT_EQ(Events(), (Seen{{EVENT::TabChanging, ctl::SHEET}, {EVENT::NewSelection, ctl::SHEET}}));
  EXPECT_EQ(window_->Choice(ctl::SHEET), 2);
  EXPECT_TRUE(Widget("FAVCABLIST")->isVisible());
  EXPECT_FALSE(Widget("ALLCABLIST")->isVisible());
}

// The runtime's loop waits on Qt's: window timers still come, on time.
TEST_F(ScreenTest, TimersArriveWhileTheScreenWaits) {
  window_->SetProp(0, PROP::Timer, 5LL);  // hundredths
  QElapsedTimer clock;
  clock.start();
  int ticks = 0;
  // A watchdog: should the ticks never come, the close box ends the wait.
  QTimer::singleShot(5000, view_, [this] { view_->close(); });
  while (ticks < 3 && rt::Accept(*window_) && EVENT() != EVENT::CloseWindow) {
    if (EVENT() == EVENT::Timer) ++ticks;
  }
  EXPECT_EQ(ticks, 3);
  EXPECT_GE(clock.elapsed(), 100);
  EXPECT_LT(clock.elapsed(), 2000);
}

TEST_F(ScreenTest, TheCloseBoxAsksTheProgram) {
  view_->close();
  EXPECT_EQ(Events(), (Seen{{EVENT::CloseWindow, 0}}));
  EXPECT_TRUE(view_->isVisible());  // the program has not closed it
}

TEST_F(ScreenTest, TheWindowIsSizedInDialogUnitsAndCentred) {
  const qtscreen::DialogUnits& units = view_->Units();
  EXPECT_EQ(view_->size(), QSize(units.ToPixelsX(348), units.ToPixelsY(239)));
  const QRect desk = QGuiApplication::primaryScreen()->availableGeometry();
  EXPECT_LE(std::abs(view_->frameGeometry().center().x() - desk.center().x()), 1);
  EXPECT_LE(std::abs(view_->frameGeometry().center().y() - desk.center().y()), 1);
  // The runtime knows where centring put it, so the position it saves is the real one: the
  // client area's, which is what a restored position places.
  EXPECT_EQ(window_->PropNumber(0, PROP::Xpos), units.ToUnitsX(view_->geometry().x()));
  EXPECT_EQ(window_->PropNumber(0, PROP::Ypos), units.ToUnitsY(view_->geometry().y()));
  const QRect button = Widget("CONNECTBUTTON")->geometry();
  EXPECT_EQ(button, units.ToPixels(290, 13, 50, 14));

  // The user's resize reaches the runtime in dialog units.
  view_->resize(units.ToPixelsX(400), units.ToPixelsY(300));
  EXPECT_EQ(Events(), (Seen{{EVENT::Sized, 0}}));
  EXPECT_EQ(window_->PropNumber(0, PROP::Width), 400);
  EXPECT_EQ(window_->PropNumber(0, PROP::Height), 300);

  // The program's geometry (restored settings, for instance) moves the window.
  window_->SetProp(0, PROP::Width, 200);
  EXPECT_EQ(view_->width(), units.ToPixelsX(200));
  EXPECT_TRUE(Events().empty());
}

// What the toolkit does to keep a window on the desktop: read and write its geometry in
// pixels for a moment. Nothing moves by the switch itself.
TEST_F(ScreenTest, PixelsSwitchesTheUnitOfTheGeometryNotTheGeometry) {
  const qtscreen::DialogUnits& units = view_->Units();
  const QRect before = view_->geometry();
  const QRect button = Widget("CONNECTBUTTON")->geometry();
  const long long xUnits = window_->PropNumber(0, PROP::Xpos);

  window_->SetProp(0, PROP::Pixels, 1LL);
  EXPECT_EQ(view_->geometry(), before);
  EXPECT_EQ(window_->PropNumber(0, PROP::Width), before.width());
  EXPECT_EQ(window_->PropNumber(0, PROP::Xpos), units.ToPixelsX(static_cast<int>(xUnits)));
  EXPECT_EQ(window_->PropNumber(ctl::CONNECTBUTTON, PROP::Xpos), button.x());
  window_->SetProp(0, PROP::Xpos, before.x() + 10LL);
  EXPECT_EQ(view_->geometry().x(), before.x() + 10);

  window_->SetProp(0, PROP::Pixels, "");
  EXPECT_EQ(view_->geometry().x(), before.x() + 10);
  EXPECT_EQ(view_->size(), before.size());
  EXPECT_EQ(window_->PropNumber(0, PROP::Width), 348);
  EXPECT_EQ(window_->PropNumber(ctl::CONNECTBUTTON, PROP::Xpos), 290);
  EXPECT_EQ(Widget("CONNECTBUTTON")->geometry(), button);
  EXPECT_TRUE(Events().empty());
}

// A file manager's drag: text/uri-list with local files and, here, a remote address.
QMimeData* FileDrag(const QList<QUrl>& urls) {
  auto* data = new QMimeData;
  data->setUrls(urls);
  return data;
}

bool SendDrop(QWidget* target, QMimeData* data) {
  const QPointF at(target->width() / 2.0, target->height() / 2.0);
  QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, data, Qt::LeftButton, {});
  QApplication::sendEvent(target, &enter);
  if (!enter.isAccepted()) return false;
  QDropEvent drop(at, Qt::CopyAction, data, Qt::LeftButton, {});
  QApplication::sendEvent(target, &drop);
  return drop.isAccepted();
}

TEST_F(ScreenTest, FilesDroppedOnTheSheetReachTheRuntime) {
  // Dropped on the list inside the sheet: the sheet takes them.
  std::unique_ptr<QMimeData> files(FileDrag({QUrl::fromLocalFile("/tmp/cab one.syx"), QUrl("https://example.com/x.syx"),
                                             QUrl::fromLocalFile("/tmp/two.syx")}));
  ASSERT_TRUE(SendDrop(Widget<QTreeView>("ALLCABLIST")->viewport(), files.get()));
  QApplication::processEvents();
  ASSERT_TRUE(rt::PollEvent(*window_));
  EXPECT_EQ(EVENT(), EVENT::Drop);
  EXPECT_EQ(FIELD(), ctl::SHEET);
  EXPECT_EQ(DROPID(), "/tmp/cab one.syx,/tmp/two.syx");

  std::unique_ptr<QMimeData> remote(FileDrag({QUrl("https://example.com/x.syx")}));
  EXPECT_FALSE(SendDrop(Widget("SHEET1"), remote.get()));
  EXPECT_FALSE(Widget("CONNECTBUTTON")->acceptDrops());  // outside the sheet nothing takes files
  EXPECT_TRUE(Events().empty());
}

}  // namespace
