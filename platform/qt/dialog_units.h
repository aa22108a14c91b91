#pragma once
// Dialog units: window layouts are designed in quarters of the font's average character
// width and eighths of its height, so a window keeps its proportions in any font.
#include <QFont>
#include <QRect>
#include <string_view>

namespace qtscreen {

// The window font: the designed family when it is installed, the desktop's sans-serif
// otherwise. A size of 0 or less takes the designed default of 8 points.
QFont WindowFont(std::string_view family, int points);

class DialogUnits {
 public:
  explicit DialogUnits(const QFont& font);

  int BaseX() const { return baseX_; }  // average character width, pixels
  int BaseY() const { return baseY_; }  // character height, pixels

  int ToPixelsX(int units) const;
  int ToPixelsY(int units) const;
  QRect ToPixels(int x, int y, int width, int height) const;
  int ToUnitsX(int pixels) const;
  int ToUnitsY(int pixels) const;

 private:
  int baseX_;
  int baseY_;
};

}  // namespace qtscreen
