#include "platform/qt/etched_group.h"

#include <QFontMetrics>
#include <QImage>
#include <gtest/gtest.h>

namespace qtscreen {
namespace {

constexpr QRgb kGrey = 0xFF808080;

// The group drawn on plain grey, without any background of its own.
QImage Drawn(const QString& title) {
  EtchedGroup group(nullptr);
  group.setTitle(title);
  group.resize(160, 60);
  QImage image(group.size(), QImage::Format_RGB32);
  image.fill(kGrey);
  group.render(&image, QPoint(), QRegion(), QWidget::RenderFlags());
  return image;
}

// Blended twice, a corner of the translucent line would come out darker (or lighter) than
// its sides.
TEST(EtchedGroup, TheLineLooksTheSameAllRoundCornersIncluded) {
  for (const QString& title : {QString(), QStringLiteral("Cabinet")}) {
    SCOPED_TRACE(title.toStdString());
    const QImage image = Drawn(title);
    const int top = QFontMetrics(EtchedGroup(nullptr).font()).height() / 2;
    const int right = image.width() - 2, bottom = image.height() - 2, middle = (top + bottom) / 2;

    const QRgb dark = image.pixel(0, middle);
    EXPECT_LT(qGray(dark), qGray(kGrey));
    for (const QPoint at : {QPoint(0, top), QPoint(right, top), QPoint(right, bottom), QPoint(0, bottom),
                            QPoint(right, middle), QPoint(80, bottom), QPoint(1, top), QPoint(4, top)})
      EXPECT_EQ(image.pixel(at), dark) << at.x() << "," << at.y();

    const QRgb light = image.pixel(1, middle);
    EXPECT_GT(qGray(light), qGray(kGrey));
    for (const QPoint at : {QPoint(1, top + 1), QPoint(right + 1, top + 1), QPoint(right + 1, bottom + 1),
                            QPoint(1, bottom + 1), QPoint(80, bottom + 1), QPoint(right + 1, middle)})
      EXPECT_EQ(image.pixel(at), light) << at.x() << "," << at.y();

    // Inside the frame the grey is untouched.
    EXPECT_EQ(image.pixel(40, middle), kGrey);
  }
}

TEST(EtchedGroup, TheLineBreaksForTheTitle) {
  const QImage untitled = Drawn(QString());
  const int top = QFontMetrics(EtchedGroup(nullptr).font()).height() / 2;
  EXPECT_EQ(untitled.pixel(5, top), kGrey);
  EXPECT_NE(untitled.pixel(6, top), kGrey);

  const QString title = QStringLiteral("Cabinet");
  const QImage titled = Drawn(title);
  const int lineStart = 6 + QFontMetrics(EtchedGroup(nullptr).font()).horizontalAdvance(title) + 4;
  EXPECT_EQ(titled.pixel(lineStart - 1, top), kGrey);
  EXPECT_EQ(titled.pixel(lineStart, top), untitled.pixel(lineStart, top));
}

TEST(EtchedGroup, AnUnetchedGroupDrawsNothing) {
  EtchedGroup group(nullptr);
  group.setTitle(QStringLiteral("Cabinet"));
  group.SetEtched(false);
  group.resize(160, 60);
  QImage image(group.size(), QImage::Format_RGB32);
  image.fill(kGrey);
  group.render(&image, QPoint(), QRegion(), QWidget::RenderFlags());
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) ASSERT_EQ(image.pixel(x, y), kGrey) << x << "," << y;
}

}  // namespace
}  // namespace qtscreen
