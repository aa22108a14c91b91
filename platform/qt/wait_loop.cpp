#include "platform/qt/wait_loop.h"

#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QPointer>
#include <QTimer>
#include <mutex>

#include "platform/win/windows/window.h"

namespace qtscreen {
namespace {

QPointer<QEventLoop> gCurrent;

bool MessageWaiting() { return PeekMessageA(nullptr, false) != FALSE; }

// Lives on the screen's thread; a posted event makes it look at the message queue there.
class QueueWatcher final : public QObject {
 public:
  bool event(QEvent* event) override {
    if (event->type() != QEvent::User) return QObject::event(event);
    if (MessageWaiting()) WaitLoop::Wake();
    return true;
  }
};

}  // namespace

// The queue's hook runs on whichever thread posts; it may outlive the screen for a moment,
// so it reaches the watcher only under this lock.
struct WaitLoop::Waker {
  std::mutex lock;
  QueueWatcher* watcher = nullptr;
};

WaitLoop::WaitLoop() : waker_(std::make_shared<Waker>()) {
  waker_->watcher = new QueueWatcher;
  win::SetMessageWakeHook([waker = waker_] {
    std::lock_guard guard(waker->lock);
    if (waker->watcher) QCoreApplication::postEvent(waker->watcher, new QEvent(QEvent::User));
  });
}

WaitLoop::~WaitLoop() {
  win::SetMessageWakeHook({});
  std::lock_guard guard(waker_->lock);
  delete waker_->watcher;
  waker_->watcher = nullptr;
}

void WaitLoop::Run(std::chrono::milliseconds upTo) {
  if (MessageWaiting()) return;
  QEventLoop loop;
  const QPointer<QEventLoop> outer = gCurrent;
  gCurrent = &loop;
  QTimer deadline;
  deadline.setSingleShot(true);
  deadline.setTimerType(Qt::PreciseTimer);
  QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
  deadline.start(upTo);
  loop.exec();
  gCurrent = outer;
}

void WaitLoop::Wake() {
  if (gCurrent) gCurrent->quit();
}

}  // namespace qtscreen
