#include "platform/qt/looks.h"

#include <algorithm>

#include "platform/rt/props.h"
#include "platform/rt/use.h"

namespace qtscreen {

std::optional<QColor> ColourOf(const QString& text) {
  if (text.trimmed().isEmpty()) return std::nullopt;
  const long long value = rt::TextToNumber(text.toStdString());
  if (value < 0 || value >= 0x80000000LL) return std::nullopt;
  return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

void ApplyFontStyle(QFont& font, long long style) {
  if (style <= 0) return;
  if (const int weight = int(style & 0xFFF); weight > 0) font.setWeight(QFont::Weight(std::min(weight, 1000)));
  font.setItalic(style & FONT::Italic);
  font.setUnderline(style & FONT::Underline);
  font.setStrikeOut(style & FONT::StrikeOut);
}

}  // namespace qtscreen
