#include <QEvent>
#include <QPlainTextEdit>

#include "platform/qt/control_views.h"
#include "platform/qt/window_view.h"

namespace qtscreen {
namespace {

// Leaving the box gives the runtime what was typed, as leaving an entry does.
class FocusOutFilter final : public QObject {
 public:
  FocusOutFilter(QObject* parent, TextView& view) : QObject(parent), view_(view) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::FocusOut) view_.Commit();
    return QObject::eventFilter(watched, event);
  }

 private:
  TextView& view_;
};

}  // namespace

TextView::TextView(WindowView& view, int field) : ControlView(view, field), edit_(new QPlainTextEdit(&view)) {
  SetWidget(edit_);
  edit_->setReadOnly(Def().readOnly);
  edit_->installEventFilter(new FocusOutFilter(edit_, *this));
}

void TextView::Commit() {
  if (syncing_ || edit_->isReadOnly()) return;
  GiveTyped(edit_->toPlainText().toStdString());
}

void TextView::Sync() {
  const QString value = FromUtf8(Runtime().ScreenValue(Field()));
  if (edit_->toPlainText() == value) return;
  syncing_ = true;
  edit_->setPlainText(value);
  syncing_ = false;
}

}  // namespace qtscreen
