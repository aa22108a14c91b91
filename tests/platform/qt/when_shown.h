#pragma once
// Acting on a Qt dialog or menu as a user would, once it is on the screen.
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace qt_test {

// Runs `act` on the next dialog or menu that opens (a different one from `skip`).
inline void WhenShown(std::function<void(QWidget*)> act, QWidget* skip = nullptr) {
  auto* poll = new QTimer;
  QObject::connect(poll, &QTimer::timeout, poll, [poll, act, skip] {
    QWidget* shown = QApplication::activePopupWidget();
    if (!shown) shown = QApplication::activeModalWidget();
    if (!shown || shown == skip || !shown->isVisible()) return;
    poll->stop();
    poll->deleteLater();
    act(shown);
  });
  poll->start(5);
}

}  // namespace qt_test
