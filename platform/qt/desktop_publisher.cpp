#include "platform/qt/desktop_publisher.h"

#include <QGuiApplication>
#include <QScreen>

#include "platform/win/windows/desktop_metrics.h"

namespace qtscreen {
namespace {

RECT ToRect(const QRect& r) { return RECT{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()}; }

}  // namespace

DesktopPublisher::DesktopPublisher(QObject* parent) : QObject(parent) {
  for (QScreen* screen : QGuiApplication::screens()) Watch(screen);
  connect(qApp, &QGuiApplication::screenAdded, this, [this](QScreen* screen) {
    Watch(screen);
    Publish();
  });
  connect(qApp, &QGuiApplication::screenRemoved, this, &DesktopPublisher::Publish);
  connect(qApp, &QGuiApplication::primaryScreenChanged, this, &DesktopPublisher::Publish);
  Publish();
}

DesktopPublisher::~DesktopPublisher() { win::ClearDesktopMetrics(); }

void DesktopPublisher::Watch(QScreen* screen) {
  connect(screen, &QScreen::geometryChanged, this, &DesktopPublisher::Publish);
  connect(screen, &QScreen::availableGeometryChanged, this, &DesktopPublisher::Publish);
}

void DesktopPublisher::Publish() {
  const QScreen* primary = QGuiApplication::primaryScreen();
  if (!primary) {
    win::ClearDesktopMetrics();
    return;
  }
  win::SetDesktopMetrics(win::DesktopMetrics{ToRect(primary->virtualGeometry()), ToRect(primary->availableGeometry())});
}

void PublishWindowRect(HWND frame, const QRect& outer) { win::SetWindowScreenRect(frame, ToRect(outer)); }

}  // namespace qtscreen
