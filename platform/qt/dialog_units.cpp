#include "platform/qt/dialog_units.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QStringList>

namespace qtscreen {
namespace {

constexpr int kDefaultPoints = 8;

// Rounded a * b / c, as the classic dialog arithmetic does it.
int MulDiv(int a, int b, int c) {
  const long long product = static_cast<long long>(a) * b;
  const long long half = c / 2;
  return static_cast<int>(product >= 0 ? (product + half) / c : (product - half) / c);
}

}  // namespace

QFont WindowFont(std::string_view family, int points) {
  const QString wanted = QString::fromUtf8(family.data(), static_cast<qsizetype>(family.size()));
  QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
  if (!wanted.isEmpty() && QFontDatabase::families().contains(wanted, Qt::CaseInsensitive)) {
    font.setFamily(wanted);
  } else {
    font.setStyleHint(QFont::SansSerif);
  }
  font.setPointSize(points > 0 ? points : kDefaultPoints);
  return font;
}

DialogUnits::DialogUnits(const QFont& font) {
  const QFontMetrics metrics(font);
  // The average width over the 52 letters, rounded the classic way.
  const int letters = metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  baseX_ = qMax(1, (letters / 26 + 1) / 2);
  baseY_ = qMax(1, metrics.height());
}

int DialogUnits::ToPixelsX(int units) const { return MulDiv(units, baseX_, 4); }
int DialogUnits::ToPixelsY(int units) const { return MulDiv(units, baseY_, 8); }
int DialogUnits::ToUnitsX(int pixels) const { return MulDiv(pixels, 4, baseX_); }
int DialogUnits::ToUnitsY(int pixels) const { return MulDiv(pixels, 8, baseY_); }

QRect DialogUnits::ToPixels(int x, int y, int width, int height) const {
  return QRect(ToPixelsX(x), ToPixelsY(y), ToPixelsX(width), ToPixelsY(height));
}

}  // namespace qtscreen
