#include "platform/framework/window_manager.h"

#include <algorithm>

#include "platform/framework/window_resize.h"
#include "platform/rt/event_loop.h"
#include "platform/rt/events.h"

thread_local int GlobalRequest = 0;
thread_local int GlobalResponse = 0;
thread_local int VCRRequest = 0;

WindowManager::~WindowManager() { Close(); }

int WindowManager::Run() {
  if (Init() == Level::Benign) Ask();
  Kill();
  Close();
  return Response;
}

int WindowManager::Init() {
  Opened = false;
  Dead = false;
  Response = RequestCancelled;
  return Level::Benign;
}

bool WindowManager::Open(const rt::WindowDef& def) {
  if (window_ != nullptr) return true;
  window_ = rt::OpenWindow(def);
  Opened = window_ != nullptr;
  return Opened;
}

void WindowManager::Ask() {
  if (window_ == nullptr || Dead) return;
  while (rt::Accept(*window_)) {
    int level = TakeEvent();
    if (level == Level::Fatal) break;
    if (level == Level::Notify && EVENT() == EVENT::CloseWindow) rt::CancelClose(*window_);
  }
}

int WindowManager::Kill() {
  if (Dead) return Level::Notify;
  Dead = true;
  resizers_.clear();
  GlobalResponse = Response;
  return Level::Benign;
}

void WindowManager::Close() {
  if (window_ == nullptr) return;
  rt::CloseWindow(*window_);
  window_ = nullptr;
}

int WindowManager::TakeEvent() {
  if (FIELD() == 0) return TakeWindowEvent();
  int level = Level::Benign;
  switch (EVENT()) {
    case EVENT::Accepted: level = TakeAccepted(); break;
    case EVENT::NewSelection: level = TakeNewSelection(); break;
    default: break;
  }
  return level != Level::Benign ? level : TakeFieldEvent();
}

int WindowManager::TakeWindowEvent() {
  switch (EVENT()) {
    case EVENT::Sized:
    case EVENT::Maximized:
    case EVENT::Restored:
      for (WindowResizeClass* resizer : resizers_) resizer->Resize();
      break;
    default: break;
  }
  return Level::Benign;
}

int WindowManager::TakeAccepted() { return Level::Benign; }
int WindowManager::TakeNewSelection() { return Level::Benign; }
int WindowManager::TakeFieldEvent() { return Level::Benign; }

void WindowManager::Reset() {
  if (window_ != nullptr) window_->Display();
}

void WindowManager::AddItem(WindowResizeClass& resizer) {
  if (std::find(resizers_.begin(), resizers_.end(), &resizer) == resizers_.end()) resizers_.push_back(&resizer);
}
