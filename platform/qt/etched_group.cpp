#include "platform/qt/etched_group.h"

#include <QPainter>
#include <QPainterPath>

namespace qtscreen {

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
  const QRectF frame = QRectF(rect()).adjusted(0.5, top + 0.5, -1.5, -1.5);

  // The line starts right of the title and runs round to its left.
  QPainterPath line;
  line.moveTo(frame.left() + gapRight, frame.top());
  line.lineTo(frame.right(), frame.top());
  line.lineTo(frame.right(), frame.bottom());
  line.lineTo(frame.left(), frame.bottom());
  line.lineTo(frame.left(), frame.top());
  line.lineTo(frame.left() + gapLeft - 2, frame.top());
  painter.setPen(QPen(QColor(255, 255, 255, 150), 1));
  painter.drawPath(line.translated(1, 1));
  painter.setPen(QPen(QColor(0, 0, 0, 120), 1));
  painter.drawPath(line);

  if (title.isEmpty()) return;
  painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
  painter.drawText(QRect(gapLeft, 0, gapRight - gapLeft, metrics.height()), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic, title);
}

}  // namespace qtscreen
