#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QtMath>

#include "art.h"

// Every icon is drawn on a 100 by 100 canvas and scaled, so one drawing serves every size.
namespace {

// A transparent size by size image that `draw` paints in canvas units.
template <class Draw>
QImage Drawn(int size, Draw draw) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  {
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 100.0, size / 100.0);
    draw(p);
  }
  return image;
}

// A round badge lit from the upper left.
void ShadedDisc(QPainter& p, QColor light, QColor dark, QColor rim) {
  QRadialGradient disc(QPointF(50, 50), 46, QPointF(38, 30));
  disc.setColorAt(0, light);
  disc.setColorAt(1, dark);
  p.setPen(QPen(rim, 3));
  p.setBrush(disc);
  p.drawEllipse(QPointF(50, 50), 44, 44);
}

// A thick stroke with a darker rim reads on light and dark backgrounds alike.
void RimmedStroke(QPainter& p, const QPainterPath& path, qreal width, QColor rim, QColor body) {
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(rim, width + 6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawPath(path);
  p.setPen(QPen(body, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawPath(path);
}

QPainterPath TickPath() {
  QPainterPath tick;
  tick.moveTo(22, 54);
  tick.lineTo(42, 73);
  tick.lineTo(79, 29);
  return tick;
}

// An arrow along a circle from one angle to another (degrees, counter-clockwise), with its
// head at the end, pointing onwards along the circle.
void ArcArrow(QPainter& p, QPointF centre, qreal radius, qreal from, qreal sweep, QColor rim, QColor body) {
  QRectF box(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
  QPainterPath arc;
  arc.arcMoveTo(box, from);
  arc.arcTo(box, from, sweep);
  RimmedStroke(p, arc, 10, rim, body);

  const qreal end = qDegreesToRadians(from + sweep);
  const QPointF tip(centre.x() + radius * qCos(end), centre.y() - radius * qSin(end));
  const qreal dir = sweep > 0 ? 1.0 : -1.0;
  const QPointF along(-qSin(end) * dir, -qCos(end) * dir);  // tangent, screen coordinates
  const QPointF out(qCos(end), -qSin(end));                // away from the centre
  QPainterPath head;
  head.moveTo(tip + along * 20);
  head.lineTo(tip + out * 14);
  head.lineTo(tip - out * 14);
  head.closeSubpath();
  p.setPen(QPen(rim, 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(body);
  p.drawPath(head);
}

}  // namespace

namespace art {

QImage CabinetIcon(int size) {
  return Drawn(size, [](QPainter& p) {
    // Tolex-covered box with a light piping line.
    QLinearGradient tolex(0, 6, 0, 94);
    tolex.setColorAt(0, QColor(0x4a, 0x43, 0x3d));
    tolex.setColorAt(1, QColor(0x1c, 0x19, 0x17));
    p.setPen(QPen(QColor(0x0d, 0x0b, 0x0a), 2));
    p.setBrush(tolex);
    p.drawRoundedRect(QRectF(6, 6, 88, 88), 9, 9);
    p.setPen(QPen(QColor(0xd4, 0xbd, 0x86), 2));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(13, 13, 74, 74), 5, 5);

    // Grille cloth with a faint diagonal weave.
    const QRectF baffle(16, 16, 68, 68);
    QLinearGradient cloth(0, 16, 0, 84);
    cloth.setColorAt(0, QColor(0x9c, 0x86, 0x5c));
    cloth.setColorAt(1, QColor(0x6e, 0x5c, 0x3c));
    p.setPen(Qt::NoPen);
    p.setBrush(cloth);
    p.drawRect(baffle);
    p.save();
    p.setClipRect(baffle);
    p.setPen(QPen(QColor(0x3c, 0x30, 0x1e, 70), 1.5));
    for (int d = -68; d < 68; d += 5) p.drawLine(QPointF(16 + d, 84), QPointF(84 + d, 16));
    p.restore();

    // The speaker: surround, cone and dust cap.
    const QPointF centre(50, 50);
    p.setPen(QPen(QColor(0x12, 0x10, 0x0e), 4));
    QRadialGradient cone(centre, 27, QPointF(44, 44));
    cone.setColorAt(0, QColor(0x6a, 0x60, 0x56));
    cone.setColorAt(1, QColor(0x24, 0x20, 0x1c));
    p.setBrush(cone);
    p.drawEllipse(centre, 27, 27);
    p.setPen(QPen(QColor(0x00, 0x00, 0x00, 90), 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(centre, 19, 19);
    QRadialGradient cap(centre, 9, QPointF(47, 47));
    cap.setColorAt(0, QColor(0xb8, 0xae, 0xa2));
    cap.setColorAt(1, QColor(0x3e, 0x37, 0x31));
    p.setPen(QPen(QColor(0x14, 0x12, 0x10), 1.5));
    p.setBrush(cap);
    p.drawEllipse(centre, 9, 9);

    // Metal corners.
    p.setPen(QPen(QColor(0x55, 0x55, 0x55), 1));
    QRadialGradient chrome(QPointF(50, 50), 70);
    chrome.setColorAt(0, QColor(0xf2, 0xf2, 0xf2));
    chrome.setColorAt(1, QColor(0x9a, 0x9a, 0x9a));
    p.setBrush(chrome);
    for (QPointF corner : {QPointF(6, 6), QPointF(94, 6), QPointF(6, 94), QPointF(94, 94)})
      p.drawEllipse(corner, 7, 7);
  });
}

QImage RefreshIcon(int size) {
  return Drawn(size, [](QPainter& p) {
    const QColor rim(0x1d, 0x5e, 0x24), body(0x4c, 0xb0, 0x50);
    ArcArrow(p, QPointF(50, 50), 31, 210, -135, rim, body);
    ArcArrow(p, QPointF(50, 50), 31, 30, -135, rim, body);
  });
}

QImage CloseIcon(int size) {
  return Drawn(size, [](QPainter& p) {
    QPainterPath cross;
    cross.moveTo(26, 26);
    cross.lineTo(74, 74);
    cross.moveTo(74, 26);
    cross.lineTo(26, 74);
    RimmedStroke(p, cross, 15, QColor(0x8a, 0x16, 0x10), QColor(0xde, 0x3b, 0x2f));
    p.setPen(QPen(QColor(255, 255, 255, 90), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(28, 25), QPointF(46, 43));
    p.drawLine(QPointF(72, 25), QPointF(54, 43));
  });
}

QImage AboutIcon(int size) {
  return Drawn(size, [](QPainter& p) {
    ShadedDisc(p, QColor(0x7d, 0xb8, 0xf0), QColor(0x17, 0x55, 0xa6), QColor(0x0e, 0x3a, 0x75));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(50, 28), 8, 8);
    p.drawRoundedRect(QRectF(42, 42, 16, 38), 5, 5);
  });
}

QImage OkIcon(int size) {
  return Drawn(size, [](QPainter& p) {
    RimmedStroke(p, TickPath(), 14, QColor(0x1b, 0x5e, 0x20), QColor(0x43, 0xa8, 0x47));
  });
}

QImage BadgeOkIcon(int size) {
  return Drawn(size, [](QPainter& p) {
    ShadedDisc(p, QColor(0x8b, 0xd6, 0x84), QColor(0x23, 0x7a, 0x2a), QColor(0x15, 0x4d, 0x1a));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::white, 11, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(TickPath());
  });
}

}  // namespace art
