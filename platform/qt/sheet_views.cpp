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
    Acted(rt::user::Select(Runtime(), Field(), index + 1));
    Sync();
  });
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
