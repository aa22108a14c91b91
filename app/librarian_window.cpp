#include "app/librarian_window.h"

#include "app/app_objects.h"
#include "platform/rt/event_loop.h"
#include "platform/rt/post.h"
#include "platform/win/windows/messages.h"
#include "toolkit/desktop_placement.h"
#include "toolkit/message_alerts.h"

int LibrarianWindow::Init() {
  GlobalErrors->SetProcedureName(procedure_);
  Request = GlobalRequest;
  int level = WindowManager::Init();
  if (level != Level::Benign) return level;
  AddItem(toolbar_);
  GlobalRequest = 0;
  GlobalResponse = 0;
  if (!Open(Definition())) return Level::Notify;
  WinAlert(WM_QUERYENDSESSION, std::nullopt, 5);
  Opening();
  INIMgr->Fetch(procedure_, *Window());
  return level;
}

int LibrarianWindow::TakeEvent() {
  int level = WindowManager::TakeEvent();
  if (EVENT() == EnsureVisibleEvent) kx_VisibleOnDesktop(KX_DESKTOP_WITHOUT_TASKBARS);
  return level;
}

int LibrarianWindow::TakeWindowEvent() {
  int level = WindowManager::TakeWindowEvent();
  // Handled once this event is done, so after whatever the derived window does on opening.
  if (EVENT() == EVENT::OpenWindow) POST(EnsureVisibleEvent);
  return level;
}

int LibrarianWindow::Kill() {
  if (Opened) WinAlert();
  int level = WindowManager::Kill();
  if (Opened) INIMgr->Update(procedure_, *Window());
  GlobalErrors->SetProcedureName();
  return level;
}
