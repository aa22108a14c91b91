#include "platform/qt/pointer_tracker.h"

#include <QApplication>
#include <QEnterEvent>
#include <QMouseEvent>

#include "platform/qt/control_view.h"
#include "platform/qt/wait_loop.h"
#include "platform/qt/window_view.h"
#include "platform/rt/props.h"
#include "platform/rt/user_action.h"

namespace qtscreen {

PointerTracker::PointerTracker(WindowView& view) : view_(view) { qApp->installEventFilter(this); }

PointerTracker::~PointerTracker() {
  if (qApp) qApp->removeEventFilter(this);
}

bool PointerTracker::eventFilter(QObject* watched, QEvent* event) {
  if (!watched->isWidgetType()) return false;
  auto* widget = static_cast<QWidget*>(watched);
  switch (event->type()) {
    case QEvent::MouseMove:
      if (widget->window() == &view_) Moved(static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
      break;
    case QEvent::Enter:
      if (widget->window() == &view_) Moved(static_cast<QEnterEvent*>(event)->globalPosition().toPoint());
      break;
    case QEvent::Leave:
      if (widget == &view_) Left();
      break;
    default: break;
  }
  return false;
}

void PointerTracker::Moved(QPoint global) {
  const QPoint inWindow = view_.mapFromGlobal(global);
  if (inside_ && inWindow == last_) return;
  inside_ = true;
  last_ = inWindow;
  const QPoint units = view_.ToUnits(inWindow);
  rt::Pointer at{.inside = true, .x = units.x(), .y = units.y()};
  const std::vector<ControlView*> controls = view_.Controls();
  for (auto it = controls.rbegin(); it != controls.rend(); ++it) {
    if ((*it)->ListPartAt(inWindow, at)) break;
  }
  rt::user::PointerMoved(view_.Runtime(), at);
  WaitLoop::Wake();
}

void PointerTracker::Left() {
  if (!inside_) return;
  inside_ = false;
  rt::user::PointerLeft(view_.Runtime());
  WaitLoop::Wake();
}

}  // namespace qtscreen
