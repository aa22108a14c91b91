#pragma once
// Files dropped from the desktop's file manager (text/uri-list) onto a control that takes
// the drop id "~FILE", or onto a control inside one, reach the runtime as a Drop event
// for the taking control.
#include <QObject>

#include "platform/rt/window.h"

namespace qtscreen {

// The field that takes files dropped on `field`: the field itself or the nearest enclosing
// control whose drop id includes "~FILE"; 0 when none does.
int FileDropField(const rt::Window& window, int field);

class FileDropFilter final : public QObject {
 public:
  FileDropFilter(rt::Window& window, int field, QObject* parent);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  rt::Window& window_;
  int field_;
};

}  // namespace qtscreen
