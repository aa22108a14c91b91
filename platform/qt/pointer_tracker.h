#pragma once
// Follows the pointer over one window and reports it to the runtime (rt::user::PointerMoved
// and PointerLeft), in the window's units and, over a list, with the cell under it.
#include <QObject>
#include <QPoint>

namespace qtscreen {

class WindowView;

class PointerTracker final : public QObject {
 public:
  explicit PointerTracker(WindowView& view);
  ~PointerTracker() override;

 protected:
  // Watches the whole application: a widget that does not follow the mouse still lets the
  // application's filters see the pointer's moves over it.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Moved(QPoint global);
  void Left();

  WindowView& view_;
  QPoint last_{-1, -1};  // the window point reported last: each move is told once
  bool inside_ = false;
};

}  // namespace qtscreen
