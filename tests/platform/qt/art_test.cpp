#include "platform/qt/art.h"

#include <QDir>
#include <QSet>
#include <gtest/gtest.h>

namespace qtscreen {
namespace {

int DistinctColours(const QImage& image) {
  QSet<QRgb> colours;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) colours.insert(image.pixel(x, y));
  return static_cast<int>(colours.size());
}

TEST(Art, EveryIconTheWindowsAskForIsDrawn) {
  for (const char* name : {"boxwright.ico", "refresh.ico", "close.ico", "about.ico", "ok.ico", "WAOk.ico"}) {
    SCOPED_TRACE(name);
    const QImage image = ArtImage(name);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.width(), image.height());
    EXPECT_GE(image.width(), 32);
    EXPECT_GT(DistinctColours(image), 8) << "a drawing, not a flat square";
    // Transparent around the drawing, so the icon sits on any button face.
    EXPECT_EQ(qAlpha(image.pixel(0, image.height() / 2)), 0);
    EXPECT_FALSE(ArtIcon(name).isNull());
  }
}

// The wallpaper is tiled, so its right edge must continue into its left edge as smoothly
// as neighbouring columns inside the tile continue into each other.
TEST(Art, TweedTilesWithoutASeam) {
  const QImage tile = ArtImage("tweed.png").convertToFormat(QImage::Format_RGB32);
  ASSERT_FALSE(tile.isNull());
  ASSERT_GE(tile.width(), 32);
  auto columnDifference = [&](int a, int b) {
    long total = 0;
    for (int y = 0; y < tile.height(); ++y) {
      const QRgb pa = tile.pixel(a, y), pb = tile.pixel(b, (y + 1) % tile.height());  // along the twill
      total += std::abs(qGray(pa) - qGray(pb));
    }
    return total;
  };
  long inside = 0;
  for (int x = 0; x + 1 < tile.width(); ++x) inside = std::max(inside, columnDifference(x, x + 1));
  EXPECT_LE(columnDifference(tile.width() - 1, 0), inside);
  EXPECT_GT(DistinctColours(tile), 50);
}

TEST(Art, OtherNamesAreFilesAndUnknownNamesAreNull) {
  EXPECT_TRUE(ArtImage("no-such-picture.png").isNull());
  EXPECT_TRUE(ArtImage("").isNull());
  const QString path = QDir::current().filePath("copy.ico");  // PNG data under an icon name
  ASSERT_TRUE(ArtImage("ok.ico").save(path, "PNG"));
  EXPECT_FALSE(ArtImage(path.toStdString()).isNull());
  QFile junk(QDir::current().filePath("junk.png"));
  ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
  junk.write("not an image at all");
  junk.close();
  EXPECT_TRUE(ArtImage(junk.fileName().toStdString()).isNull());
}

}  // namespace
}  // namespace qtscreen
