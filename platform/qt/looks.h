#pragma once
// The runtime's colours and font styles as Qt takes them.
#include <QColor>
#include <QFont>
#include <QString>
#include <optional>

namespace qtscreen {

// A colour property (0xBBGGRR); blank, -1 and the system-colour range mean "the default".
std::optional<QColor> ColourOf(const QString& text);
// A font style (weight 1-1000 in the low bits, then italic 1000h, underline 2000h and
// strike-out 4000h) set on `font`; 0 changes nothing. Only what the style says is set, so
// the font resolves the rest from where it is drawn.
void ApplyFontStyle(QFont& font, long long style);

}  // namespace qtscreen
