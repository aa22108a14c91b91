#include "platform/harness/window_picture.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QRadioButton>
#include <QSet>
#include <algorithm>
#include <cmath>

#include "platform/qt/qt_screen.h"
#include "platform/qt/window_view.h"

namespace harness {

// The harness drives the runtime and its screen from outside, through their own calls.
using namespace rt;
using namespace qtscreen;
namespace {

WindowView* ViewOnScreen(const rt::Window& window) {
  auto* screen = dynamic_cast<QtScreen*>(&rt::CurrentScreen());
  return screen != nullptr ? screen->ViewOf(window) : nullptr;
}

// Relative luminance of an sRGB colour.
double Luminance(QRgb rgb) {
  auto linear = [](int channel) {
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * linear(qRed(rgb)) + 0.7152 * linear(qGreen(rgb)) + 0.0722 * linear(qBlue(rgb));
}

double Contrast(double a, double b) { return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05); }

// Widgets whose text stands on the window's own background.
bool IsLabel(const QWidget* widget) {
  if (const auto* label = qobject_cast<const QLabel*>(widget)) return label->pixmap().isNull();
  return qobject_cast<const QRadioButton*>(widget) || qobject_cast<const QCheckBox*>(widget) ||
         qobject_cast<const QGroupBox*>(widget);
}

}  // namespace

double LeastLabelContrast(const rt::Window& window) {
  WindowView* view = ViewOnScreen(window);
  if (view == nullptr) return 0;
  // The window alone: its background and wallpaper, none of its controls.
  QImage background(view->size(), QImage::Format_RGB32);
  background.fill(view->palette().color(QPalette::Window));
  view->render(&background, QPoint(), QRegion(), QWidget::DrawWindowBackground);
  double least = 21;
  for (const QWidget* child : view->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (!child->isVisibleTo(view) || !IsLabel(child)) continue;
    const double ink = Luminance(child->palette().color(QPalette::WindowText).rgb());
    const QRect area = child->geometry() & background.rect();
    for (int y = area.top(); y <= area.bottom(); ++y)
      for (int x = area.left(); x <= area.right(); ++x)
        least = std::min(least, Contrast(ink, Luminance(background.pixel(x, y))));
  }
  return least;
}

int SaveWindowPicture(const rt::Window& window, const std::string& path) {
  WindowView* view = ViewOnScreen(window);
  if (view == nullptr) return 0;
  const QImage picture = view->grab().toImage();
  if (picture.isNull() || !picture.save(QString::fromStdString(path), "PNG")) return 0;
  QSet<QRgb> colours;
  for (int y = 0; y < picture.height(); ++y)
    for (int x = 0; x < picture.width(); ++x) colours.insert(picture.pixel(x, y));
  return static_cast<int>(colours.size());
}

}  // namespace harness
