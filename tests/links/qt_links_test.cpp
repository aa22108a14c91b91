// The demo links window on the Qt screen: the pointer, clicks and a column dragged by its
// header reach the link object as a user's mouse does.
#include <QApplication>
#include <QHeaderView>
#include <QTest>
#include <QTreeView>
#include <gtest/gtest.h>

#include <memory>

#include "platform/qt/qt_screen.h"
#include "platform/qt/window_view.h"
#include "platform/rt/display.h"
#include "platform/rt/event_loop.h"
#include "platform/rt/props.h"
#include "tests/links/link_window.h"
#include "tests/support/private_desktop.h"

namespace {

using namespace links_demo;
using Runs = std::vector<std::string>;

QColor Rgb(LONG bgr) { return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF); }

// The link object records what it would run instead of starting anything; Init reads the
// associations of a private desktop with a browser and a mail program.
class QtLinks : public ::testing::Test {
 protected:
  test_support::PrivateDesktop desktop_{{"mailto", "text/html"}};

  void SetUp() override {
    for (rt::Kind kind : DemoKinds()) rt::AnnounceControlKinds({kind});
    ResetDemoData();
    auto screen = std::make_unique<qtscreen::QtScreen>();
    screen_ = screen.get();
    previous_ = rt::UseScreen(std::move(screen));
    w_ = rt::OpenWindow(DemoLinksWindow());
    ASSERT_NE(w_, nullptr);
    view_ = screen_->ViewOf(*w_);
    ASSERT_NE(view_, nullptr);
    Drain();
    SetUpLinks(links_);
    Drain();
  }
  void TearDown() override {
    rt::CloseWindow(*w_);
    rt::UseScreen(std::move(previous_));
  }
  void Drain() {
    QApplication::processEvents();
    while (rt::PollEvent(*w_)) TakeDemoEvent(links_);
  }
  QWidget* Widget(int field) { return view_->Control(field)->Widget(); }
  void MoveTo(QPoint pixels) {
    QTest::mouseMove(view_, pixels);
    Drain();
  }
  QPoint Centre(int field) { return Widget(field)->geometry().center(); }
  QPoint CellCentre(QTreeView* list, int row, int column) {
    return list->viewport()->mapTo(view_, list->visualRect(list->model()->index(row, column)).center());
  }
  LinkItemRow Row(LONG control, LONG column) {
    for (size_t i = 1; i <= links_.ItemQ->Records(); ++i) {
      if (links_.ItemQ->Peek(i).Control == control && links_.ItemQ->Peek(i).Column == column) return links_.ItemQ->Peek(i);
    }
    return {};
  }

  qtscreen::QtScreen* screen_ = nullptr;
  qtscreen::WindowView* view_ = nullptr;
  rt::Window* w_ = nullptr;
  links_test::RecordingLinks links_;
  std::unique_ptr<rt::Screen> previous_;
};

TEST_F(QtLinks, AStringLinkBrightensUnderThePointerAndRunsOnAClick) {
  QWidget* link = Widget(ctl::WEBLINK);
  QWidget* region = Widget(ctl::WEBLINK + 2800);
  ASSERT_NE(region, nullptr);
  EXPECT_EQ(region->geometry(), link->geometry());
  EXPECT_EQ(region->cursor().shape(), Qt::PointingHandCursor);
  EXPECT_TRUE(link->font().underline());
  EXPECT_EQ(link->palette().color(QPalette::WindowText), Rgb(kBlue));

  MoveTo(QPoint(1, 1));
  MoveTo(Centre(ctl::WEBLINK));
  EXPECT_EQ(link->palette().color(QPalette::WindowText), Rgb(kRed));
  MoveTo(Centre(ctl::MAILLINK));
  EXPECT_EQ(link->palette().color(QPalette::WindowText), Rgb(kBlue));
  EXPECT_TRUE(Widget(ctl::MAILLINK)->font().bold());
  MoveTo(QPoint(1, 1));
  EXPECT_FALSE(Widget(ctl::MAILLINK)->font().bold());

  QTest::mouseClick(region, Qt::LeftButton);
  Drain();
  EXPECT_EQ(links_.runs, Runs{"www.example.org"});
}

TEST_F(QtLinks, AnInactiveLinkShowsNoHandAndTakesNoClick) {
  QWidget* region = Widget(ctl::OLDLINK + 2800);
  EXPECT_NE(region->cursor().shape(), Qt::PointingHandCursor);
  QTest::mouseClick(Widget(ctl::OLDLINK), Qt::LeftButton);
  QTest::mouseClick(region, Qt::LeftButton);
  Drain();
  EXPECT_EQ(links_.runs, Runs{});
}

TEST_F(QtLinks, ListLinkColumnsShowTheHandAndTheHoveredCell) {
  auto* list = qobject_cast<QTreeView*>(Widget(ctl::PEOPLE));
  ASSERT_NE(list, nullptr);
  MoveTo(CellCentre(list, 1, 2));  // row 2, the mail column
  EXPECT_EQ(rt::GetProp(ctl::PEOPLE, PROP::Cursor), "hand");
  EXPECT_EQ(list->model()->index(1, 2).data(Qt::ForegroundRole).value<QBrush>().color(), Rgb(kRed));
  EXPECT_EQ(list->model()->index(0, 2).data(Qt::ForegroundRole).value<QBrush>().color(), Rgb(kBlue));
  MoveTo(CellCentre(list, 1, 1));  // the name column is no link
  EXPECT_EQ(rt::GetProp(ctl::PEOPLE, PROP::Cursor), "");
  EXPECT_EQ(list->model()->index(1, 2).data(Qt::ForegroundRole).value<QBrush>().color(), Rgb(kBlue));

  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(list->model()->index(2, 3)).center());
  Drain();
  EXPECT_EQ(links_.runs, Runs{"http://cy.example/page one"});
}

TEST_F(QtLinks, LinkColumnsDraggedByTheirHeadersKeepTheirLinksAndStyles) {
  auto* list = qobject_cast<QTreeView*>(Widget(ctl::PEOPLE));
  ASSERT_NE(list, nullptr);
  QHeaderView* header = list->header();
  // The site column's header dragged onto the mail column's place.
  const QPoint from(header->sectionPosition(3) + 20, header->height() / 2);
  const QPoint to(header->sectionPosition(2) + 4, header->height() / 2);
  QTest::mousePress(header->viewport(), Qt::LeftButton, {}, from);
  for (int step = 1; step <= 8; ++step) QTest::mouseMove(header->viewport(), from + (to - from) * step / 8);
  QTest::mouseRelease(header->viewport(), Qt::LeftButton, {}, to);
  Drain();
  EXPECT_EQ(Row(ctl::PEOPLE, 4).Style, 2);  // the mail link, now the fourth column
  EXPECT_EQ(Row(ctl::PEOPLE, 3).Style, 4);
  EXPECT_EQ(rt::GetProp(ctl::PEOPLE, PROP::ColumnStyle, 4), "2");
  EXPECT_EQ(list->model()->headerData(3, Qt::Horizontal).toString(), "Mail");
  EXPECT_EQ(list->model()->index(0, 3).data(Qt::ForegroundRole).value<QBrush>().color(), Rgb(kBlue));
}

}  // namespace
