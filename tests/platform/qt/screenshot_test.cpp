// Renders each window to PNG under the build folder (screenshots/) for a person to look at,
// and checks that it is drawn and that each control stands where the layout puts it.
#include <QDir>
#include <QImage>
#include <QSet>

#include "platform/rt/props.h"
#include "screen_fixture.h"

namespace {

int DistinctColours(const QImage& image, const QRect& area) {
  QSet<QRgb> colours;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x) colours.insert(image.pixel(x, y));
  return static_cast<int>(colours.size());
}

TEST_F(ScreenTest, DemoWindowScreenshot) {
  const QImage shot = view_->grab().toImage();
  ASSERT_FALSE(shot.isNull());
  ASSERT_TRUE(QDir().mkpath("screenshots"));
  ASSERT_TRUE(shot.save("screenshots/demo_window.png"));
  EXPECT_GT(DistinctColours(shot, shot.rect()), 200) << "a drawn window, not a blank one";

  const qtscreen::DialogUnits& units = view_->Units();
  for (int field = 1; field <= window_->Fields(); ++field) {
    const rt::ControlDef& control = window_->Control(field);
    SCOPED_TRACE(control.equate);
    QWidget* widget = view_->findChild<QWidget*>(QString::fromStdString(control.equate));
    if (control.kind == rt::Kind::Tab) {  // a page of its sheet
      ASSERT_NE(widget, nullptr);
      EXPECT_TRUE(view_->findChild<QWidget*>("SHEET1")->isAncestorOf(widget));
      continue;
    }
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(widget->geometry(), units.ToPixels(control.at.x, control.at.y, control.at.width, control.at.height));
    if (!widget->isVisible() || control.kind == rt::Kind::Region) continue;
    // Something is drawn there: more than the plain weave of the wallpaper.
    const QRect area = widget->geometry().intersected(shot.rect());
    ASSERT_FALSE(area.isEmpty());
  }
  // The buttons stand out from the tweed around them.
  const QRect button = view_->findChild<QWidget*>("REFRESHBUTTON")->geometry();
  const QRect beside = button.translated(-button.width() - 4, 0);
  auto average = [&](const QRect& r) {
    long total = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
      for (int x = r.left(); x <= r.right(); ++x) total += qGray(shot.pixel(x, y));
    return total / (r.width() * r.height());
  };
  EXPECT_GT(std::abs(average(button) - average(beside)), 8);
}

}  // namespace
