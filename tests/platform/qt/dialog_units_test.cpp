#include "platform/qt/dialog_units.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QStringList>
#include <gtest/gtest.h>

namespace qtscreen {
namespace {

TEST(WindowFont, UsesTheDesignedFamilyOnlyWhenInstalled) {
  const QFont fallback = WindowFont("No Such Family 9000", 8);
  EXPECT_TRUE(QFontDatabase::families().contains(QFontInfo(fallback).family()));
  EXPECT_EQ(fallback.pointSize(), 8);

  const QString installed = QFontDatabase::families().value(0);
  ASSERT_FALSE(installed.isEmpty());
  EXPECT_EQ(WindowFont(installed.toStdString(), 10).family(), installed);
  EXPECT_EQ(WindowFont(installed.toStdString(), 0).pointSize(), 8);
}

TEST(DialogUnits, ConvertThroughTheFontMetrics) {
  const DialogUnits small(WindowFont("", 8));
  const DialogUnits large(WindowFont("", 16));
  EXPECT_GT(large.BaseX(), small.BaseX());
  EXPECT_GT(large.BaseY(), small.BaseY());

  // Four horizontal units are one average character, eight vertical units one line.
  EXPECT_EQ(small.ToPixelsX(4), small.BaseX());
  EXPECT_EQ(small.ToPixelsY(8), small.BaseY());
  EXPECT_EQ(small.ToPixelsX(348), (348 * small.BaseX() * 2 + 4) / 8);
  EXPECT_EQ(small.ToPixelsX(0), 0);
  EXPECT_EQ(small.ToPixelsX(-8), -small.ToPixelsX(8));

  const QRect r = small.ToPixels(10, 20, 348, 239);
  EXPECT_EQ(r.x(), small.ToPixelsX(10));
  EXPECT_EQ(r.y(), small.ToPixelsY(20));
  EXPECT_EQ(r.width(), small.ToPixelsX(348));
  EXPECT_EQ(r.height(), small.ToPixelsY(239));

  // Back from pixels within one unit's rounding.
  for (int units : {1, 7, 32, 252, 348}) {
    EXPECT_NEAR(small.ToUnitsX(small.ToPixelsX(units)), units, 4.0 / small.BaseX() + 1);
    EXPECT_NEAR(small.ToUnitsY(small.ToPixelsY(units)), units, 8.0 / small.BaseY() + 1);
  }
}

}  // namespace
}  // namespace qtscreen
