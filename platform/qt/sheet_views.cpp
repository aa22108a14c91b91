#include <QTabBar>
#include <QTabWidget>

#include "platform/qt/control_views.h"
#include "platform/qt/window_view.h"
#include "platform/rt/props.h"
#include "platform/rt/user_action.h"

namespace qtscreen {

SheetView::SheetView(WindowView& view, int field) : ControlView(view, field), tabs_(new QTabWidget(&view)) {
  SetWidget(tabs_);
  tabs_->setDocumentMode(false);
  // The pages stay empty: the tabs' controls are the window's own and stand above the sheet.
  for (int tab : Runtime().Children(field)) {
    auto* page = new QWidget(tabs_);
    page->setAttribute(Qt::WA_NoSystemBackground);
    page->setObjectName(FromUtf8(Runtime().Control(tab).equate));
    tabs_->addTab(page, QString());
  }
  QObject::connect(tabs_, &QTabWidget::currentChanged, tabs_, [this](int index) {
    if (syncing_ || index < 0) return;
    ChosenByUser(index);
  });
}

// Hiding the old tab's controls would hand their focus to whatever follows them in the
// window (a check box below the sheet, say), where the next Space would act unseen. The
// focus waits on the tabs instead, then goes to the new tab's first control, unless the
// keyboard is working the tabs.
void SheetView::ChosenByUser(int index) {
  QTabBar* bar = tabs_->tabBar();
  const bool keyboardOnTabs = bar->hasFocus();
  if (!keyboardOnTabs) bar->setFocus(Qt::MouseFocusReason);
  Acted(rt::user::Select(Runtime(), Field(), index + 1));
  Sync();
  if (keyboardOnTabs) return;
  if (QWidget* first = FirstFocusable(index)) first->setFocus(Qt::MouseFocusReason);
}

QWidget* SheetView::FirstFocusable(int index) const {
  const std::vector<int> tabs = Runtime().Children(Field());
  if (index < 0 || static_cast<std::size_t>(index) >= tabs.size()) return nullptr;
  for (int child : Runtime().Children(tabs[static_cast<std::size_t>(index)])) {
    const ControlView* control = View().Control(child);
    QWidget* widget = control ? control->Widget() : nullptr;
    if (widget && widget->isVisible() && widget->isEnabled() && (widget->focusPolicy() & Qt::ClickFocus)) return widget;
  }
  return nullptr;
}

void SheetView::Sync() {
  syncing_ = true;
  const std::vector<int> tabs = Runtime().Children(Field());
  for (std::size_t i = 0; i < tabs.size() && static_cast<int>(i) < tabs_->count(); ++i) {
    const int index = static_cast<int>(i);
    tabs_->setTabText(index, FromUtf8(Runtime().Prop(tabs[i], PROP::Text)));
    tabs_->setTabVisible(index, Runtime().Prop(tabs[i], PROP::Hide).empty());
    tabs_->setTabEnabled(index, Runtime().Prop(tabs[i], PROP::Disable).empty());
  }
  const int choice = Runtime().Choice(Field());
  if (choice >= 1 && choice <= tabs_->count()) tabs_->setCurrentIndex(choice - 1);
  syncing_ = false;
}

TabView::TabView(WindowView& view, int field) : ControlView(view, field) {}

void TabView::Sync() {
  if (ControlView* sheet = View().Control(Def().parent)) sheet->Sync();
}

}  // namespace qtscreen
