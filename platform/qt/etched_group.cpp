#include "platform/qt/etched_group.h"

#include <QImage>
#include <QPainter>

namespace qtscreen {
namespace {

// A translucent line as an image: the raster engine blends an image in one piece, while it
// strokes or fills a translucent line row by row and hands the rows to its thread pool,
// which cost more than all the rest of the frames' first paint.
void BlendLine(QPainter& painter, const QRect& line, const QColor& colour) {
  if (line.isEmpty()) return;
  QImage ink(line.size(), QImage::Format_ARGB32_Premultiplied);
  ink.fill(colour);
  painter.drawImage(line.topLeft(), ink);
}

}  // namespace

EtchedGroup::EtchedGroup(QWidget* parent) : QGroupBox(parent) {}

void EtchedGroup::SetEtched(bool etched) {
  etched_ = etched;
  update();
}

void EtchedGroup::paintEvent(QPaintEvent*) {
  if (!etched_) return;
  QPainter painter(this);
  const QFontMetrics metrics(font());
  const QString title = this->title();
  const int top = metrics.height() / 2;
  const int gapLeft = 6;
  const int gapRight = title.isEmpty() ? gapLeft : gapLeft + metrics.horizontalAdvance(title) + 4;
  const int right = width() - 2, bottom = height() - 2;

  // The line starts right of the title and runs round to its left, each pixel once.
  const QRect line[] = {QRect(gapRight, top, right - gapRight + 1, 1), QRect(right, top + 1, 1, bottom - top),
                        QRect(0, bottom, right, 1), QRect(0, top, 1, bottom - top), QRect(1, top, gapLeft - 2, 1)};
  for (const QRect& piece : line) BlendLine(painter, piece.translated(1, 1), QColor(255, 255, 255, 150));
  for (const QRect& piece : line) BlendLine(painter, piece, QColor(0, 0, 0, 120));

  if (title.isEmpty()) return;
  painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
  painter.drawText(QRect(gapLeft, 0, gapRight - gapLeft, metrics.height()), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic, title);
}

}  // namespace qtscreen
