#include "platform/qt/window_picture.h"

#include <QImage>
#include <QSet>

#include "platform/qt/qt_screen.h"
#include "platform/qt/window_view.h"

namespace qtscreen {

int SaveWindowPicture(const rt::Window& window, const std::string& path) {
  auto* screen = dynamic_cast<QtScreen*>(&rt::CurrentScreen());
  WindowView* view = screen != nullptr ? screen->ViewOf(window) : nullptr;
  if (view == nullptr) return 0;
  const QImage picture = view->grab().toImage();
  if (picture.isNull() || !picture.save(QString::fromStdString(path), "PNG")) return 0;
  QSet<QRgb> colours;
  for (int y = 0; y < picture.height(); ++y)
    for (int x = 0; x < picture.width(); ++x) colours.insert(picture.pixel(x, y));
  return static_cast<int>(colours.size());
}

}  // namespace qtscreen
