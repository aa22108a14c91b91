#pragma once
// One control of a runtime window as a Qt widget. The base keeps what every kind shares
// (place, visibility, font, colours, cursor); each kind shows its own text, value and
// choice in Sync() and reports the user's actions through rt::user.
#include <QPointer>
#include <QWidget>
#include <memory>

#include "platform/rt/window.h"

namespace qtscreen {

class WindowView;

class ControlView {
 public:
  ControlView(WindowView& view, int field);
  virtual ~ControlView();
  ControlView(const ControlView&) = delete;
  ControlView& operator=(const ControlView&) = delete;

  int Field() const { return field_; }
  // The widget that stands for the control; nullptr for a tab (its sheet draws it).
  QWidget* Widget() const { return widget_; }
  // The widget that receives the mouse (a list's viewport, for instance).
  virtual QWidget* MouseWidget() const { return widget_; }

  // Shows the control's text, value and choice as the runtime holds them.
  virtual void Sync() {}
  // The rows behind a list changed.
  virtual void ListChanged() {}
  // Gives the runtime what the user typed and has not yet given (entries, spin boxes).
  virtual void Commit() {}
  // The program put the focus here.
  virtual void TakeFocus();
  // A list's style table, column styles or cell styles changed.
  virtual void StylesChanged() {}
  // Over a list: fills the row, column and zone under `inWindow` (pixels of the window) and
  // answers true when the point lies on this control.
  virtual bool ListPartAt(QPoint, rt::Pointer&) const { return false; }
  // Left clicks on strings, prompts and regions, and on entries that alert the left button,
  // go to the runtime as the user's click.
  void FollowClicks();
  void ApplyAlerts();

  void Place();         // position and size
  void ApplyStyle();    // font, colours, cursor
  void ApplyState();    // shown and enabled

 protected:
  rt::Window& Runtime() const;
  WindowView& View() const { return view_; }
  const rt::ControlDef& Def() const;
  QString Prop(int prop) const;
  void SetWidget(QWidget* widget);
  // After every user action: wakes the runtime's wait and reports a refusal on the debug
  // channel (a refused action changes nothing).
  void Acted(const std::string& refused) const;
  // Gives the runtime the text the user typed (rt::user::Type), when it differs from what
  // the control holds, and shows the control again.
  void GiveTyped(const std::string& typed);

  // True while Sync() writes to the widget, so that the widget's own signals are not taken
  // for the user's actions.
  bool syncing_ = false;

 private:
  WindowView& view_;
  int field_;
  QPointer<QWidget> widget_;
};

// The view for the control's kind; nullptr for a kind this screen does not draw.
std::unique_ptr<ControlView> MakeControlView(WindowView& view, int field);

QString FromUtf8(const std::string& text);

}  // namespace qtscreen
