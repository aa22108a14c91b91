#pragma once
// Keeps the desktop metrics that the toolkit reads (the virtual screen across every monitor
// and the primary monitor's work area) in step with the screens Qt reports, from
// construction until destruction.
#include <QObject>
#include <QRect>

#include "platform/win/types.h"

class QScreen;

namespace qtscreen {

class DesktopPublisher : public QObject {
  Q_OBJECT

 public:
  explicit DesktopPublisher(QObject* parent = nullptr);
  ~DesktopPublisher() override;

  void Publish();

 private:
  void Watch(QScreen* screen);
};

// A window's outer rectangle, for the toolkit's placement checks.
void PublishWindowRect(HWND frame, const QRect& outer);

}  // namespace qtscreen
