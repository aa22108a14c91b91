#include "platform/rt/event_loop.h"

#include <algorithm>
#include <chrono>

#include "platform/rt/clock.h"
#include "platform/rt/control_kind.h"
#include "platform/rt/error_code.h"
#include "platform/rt/events.h"
#include "platform/rt/props.h"
#include "platform/rt/screen.h"
#include "platform/rt/thread.h"
#include "platform/rt/thread_state.h"
#include "platform/win/windows/messages.h"
#include "platform/win/windows/window.h"

namespace rt {

// The event loop keeps its bookkeeping inside the Window.
struct WindowAccess {
  static void Deliver(Window& w, const detail::PendingEvent& e) {
    w.event_ = e.event;
    w.field_ = e.field;
    w.keyCode_ = e.keyCode;
    w.dropId_ = e.dropId;
    if (e.event == EVENT::CloseWindow) w.closing_ = true;
  }
  static bool& Closing(Window& w) { return w.closing_; }
  static bool& Shown(Window& w) { return w.shown_; }
  static std::int64_t& TimerDue(Window& w) { return w.timerDue_; }
  static bool& TimerPending(Window& w) { return w.timerPending_; }
  static std::uint64_t& ListVersion(Window& w, int field) { return w.State(field).listVersion; }
  static int& ChoiceOf(Window& w, int field) { return w.State(field).choice; }
};

namespace {

using detail::CurrentThread;
using detail::PendingEvent;
using detail::ThreadState;

bool Owns(ThreadState& t, const Window* w) {
  return std::any_of(t.windows.begin(), t.windows.end(), [&](const auto& each) { return each.get() == w; });
}

Window* Top(ThreadState& t) { return t.windows.empty() ? nullptr : t.windows.back().get(); }

// The runtime window that owns a frame or client handle of this thread; nullptr if none.
Window* WindowOfHandle(HWND handle) {
  if (handle == nullptr) return nullptr;
  for (auto& each : CurrentThread().windows) {
    if (each->Frame() == handle || each->Client() == handle) return each.get();
  }
  return nullptr;
}

bool Acceptable(const Window& w) {
  for (int field = 1; field <= w.Fields(); ++field) {
    const ControlDef& control = w.Control(field);
    if (!IsKindAnnounced(control.kind)) return false;
    if (control.feq != 0 && control.feq != field) return false;
    if (control.parent < 0 || control.parent >= field) return false;
  }
  return true;
}

bool TakeEvent(ThreadState& t, Window& w, PendingEvent& out) {
  Window* top = Top(t);
  std::lock_guard guard(t.lock);
  for (auto it = t.events.begin(); it != t.events.end(); ++it) {
    if (it->window == &w || (it->window == nullptr && top == &w)) {
      out = std::move(*it);
      t.events.erase(it);
      return true;
    }
  }
  return false;
}

bool TimerEventPending(ThreadState& t, Window& w) {
  std::lock_guard guard(t.lock);
  return std::any_of(t.events.begin(), t.events.end(),
                     [&](const PendingEvent& e) { return e.window == &w && e.event == EVENT::Timer; });
}

void FireTimers(ThreadState& t) {
  std::int64_t now = CurrentClock()->Ticks();
  for (auto& each : t.windows) {
    Window& w = *each;
    long long period = w.PropNumber(0, PROP::Timer);
    std::int64_t& due = WindowAccess::TimerDue(w);
    if (period <= 0) continue;
    if (due == 0) {
      due = now + period;
      continue;
    }
    if (now < due) continue;
    // Like the platform's own timer message, at most one waits at a time.
    if (!WindowAccess::TimerPending(w)) {
      WindowAccess::TimerPending(w) = true;
      PostMessageA(w.Frame(), WM_TIMER, 1, 0);
    }
    due += period;
    if (due <= now) due = now + period;
  }
}

std::chrono::milliseconds TimeToNextTimer(ThreadState& t) {
  std::int64_t now = CurrentClock()->Ticks();
  std::int64_t wait = 100;  // hundredths; the screen is asked again at least once a second
  for (auto& each : t.windows) {
    std::int64_t due = WindowAccess::TimerDue(*each);
    if (due > 0 && each->PropNumber(0, PROP::Timer) > 0) wait = std::min(wait, std::max<std::int64_t>(0, due - now));
  }
  return std::chrono::milliseconds(wait * 10);
}

void Dispatch(ThreadState& t, const MSG& msg) {
  if (msg.hwnd == nullptr) {
    if (msg.message == detail::kPostedEventMessage) {
      detail::Enqueue(t, PendingEvent{static_cast<int>(msg.wParam), static_cast<int>(msg.lParam), nullptr, 0, {}});
    }
    return;
  }
  Window* owner = WindowOfHandle(msg.hwnd);
  if (owner && msg.message == WM_TIMER && msg.hwnd == owner->Frame()) WindowAccess::TimerPending(*owner) = false;
  Window* previous = t.dispatching;
  t.dispatching = owner;
  DispatchMessageA(&msg);
  t.dispatching = previous;
}

void RefreshLists(ThreadState& t) {
  for (auto& each : t.windows) {
    Window& w = *each;
    if (!WindowAccess::Shown(w)) continue;
    for (int field = 1; field <= w.Fields(); ++field) {
      const auto& from = w.Control(field).from;
      if (!from || from->Version() == WindowAccess::ListVersion(w, field)) continue;
      WindowAccess::ListVersion(w, field) = from->Version();
      int& choice = WindowAccess::ChoiceOf(w, field);
      if (choice > static_cast<int>(from->Records())) choice = 0;
      CurrentScreen().ListChanged(w, field);
    }
  }
}

// One round without delivering events; true when a raw message was handled.
bool PumpOnce(ThreadState& t) {
  FireTimers(t);
  MSG msg;
  if (PeekMessageA(&msg, true)) {
    Dispatch(t, msg);
    return true;
  }
  return false;
}

bool Next(Window& w, bool wait) {
  ThreadState& t = CurrentThread();
  if (!Owns(t, &w) || WindowAccess::Closing(w)) return false;
  t.target = &w;
  for (;;) {
    PendingEvent event;
    if (TakeEvent(t, w, event)) {
      WindowAccess::Deliver(w, event);
      return true;
    }
    if (PumpOnce(t)) continue;
    RefreshLists(t);
    if (!wait) return false;
    CurrentScreen().Wait(TimeToNextTimer(t));
    if (!Owns(t, &w)) return false;  // closed from inside the screen (a failed script)
  }
}

void PostTo(Window& w, int event) { detail::PostToWindow(w, event, 0); }

}  // namespace

namespace detail {
void PostToWindow(Window& w, int event, int field, int keyCode, std::string dropId) {
  ThreadState& t = CurrentThread();
  Enqueue(t, PendingEvent{event, field, &w, keyCode, std::move(dropId)});
}

bool HasWork() {
  ThreadState& t = CurrentThread();
  MSG msg;
  if (PeekMessageA(&msg, false)) return true;
  Window* top = Top(t);
  std::lock_guard guard(t.lock);
  return std::any_of(t.events.begin(), t.events.end(),
                     [&](const PendingEvent& e) { return e.window == top || e.window == nullptr; });
}
}  // namespace detail

Window* OpenWindow(const WindowDef& def) {
  ThreadState& t = CurrentThread();
  HWND frame = CreateWindowHandle(RuntimeWindowProc);
  HWND client = CreateWindowHandle(RuntimeWindowProc);
  auto window = std::make_unique<Window>(def, frame, client, t.id);
  if (!Acceptable(*window)) {
    DestroyWindow(frame);
    DestroyWindow(client);
    SetErrorCode(ERRORS::WindowNotOpened);
    return nullptr;
  }
  Window* w = window.get();
  t.windows.push_back(std::move(window));
  t.target = w;
  SetActiveWindow(frame);
  w->Display();
  WindowAccess::Shown(*w) = true;
  CurrentScreen().WindowOpened(*w);
  long long period = w->PropNumber(0, PROP::Timer);
  if (period > 0) WindowAccess::TimerDue(*w) = CurrentClock()->Ticks() + period;
  detail::PostToWindow(*w, EVENT::OpenWindow, 0);
  SetErrorCode(0);
  return w;
}

void CloseWindow(Window& w) {
  ThreadState& t = CurrentThread();
  auto it = std::find_if(t.windows.begin(), t.windows.end(), [&](const auto& each) { return each.get() == &w; });
  if (it == t.windows.end()) return;
  if (WindowAccess::Shown(w)) {
    WindowAccess::Shown(w) = false;
    CurrentScreen().WindowClosed(w);
  }
  {
    std::lock_guard guard(t.lock);
    t.events.erase(std::remove_if(t.events.begin(), t.events.end(), [&](const PendingEvent& e) { return e.window == &w; }),
                   t.events.end());
  }
  DestroyWindow(w.Frame());
  DestroyWindow(w.Client());
  if (t.dispatching == &w) t.dispatching = nullptr;
  t.windows.erase(it);
  Window* top = Top(t);
  t.target = top;
  SetActiveWindow(top ? top->Frame() : nullptr);
}

bool Accept(Window& window) { return Next(window, true); }
bool PollEvent(Window& window) { return Next(window, false); }
void CancelClose(Window& window) { WindowAccess::Closing(window) = false; }

void PumpMessages() {
  ThreadState& t = CurrentThread();
  while (PumpOnce(t)) {
  }
  RefreshLists(t);
}

Window* TopWindow() { return Top(CurrentThread()); }

std::vector<Window*> OpenWindows() {
  std::vector<Window*> windows;
  for (auto& each : CurrentThread().windows) windows.push_back(each.get());
  return windows;
}

Window* TargetWindow() {
  ThreadState& t = CurrentThread();
  return t.target ? t.target : Top(t);
}

LRESULT RuntimeWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* w = WindowOfHandle(hwnd);
  if (w == nullptr) return DefWindowProcA(hwnd, message, wParam, lParam);
  switch (message) {
    case WM_CLOSE: PostTo(*w, EVENT::CloseWindow); return 0;
    case WM_TIMER:
      if (!TimerEventPending(CurrentThread(), *w)) PostTo(*w, EVENT::Timer);
      return 0;
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE: PostTo(*w, EVENT::MouseMove); return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN: PostTo(*w, EVENT::MouseDown); return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
    case WM_NCLBUTTONUP:
    case WM_NCRBUTTONUP:
    case WM_NCMBUTTONUP: PostTo(*w, EVENT::MouseUp); return 0;
    default: return DefWindowProcA(hwnd, message, wParam, lParam);
  }
}

}  // namespace rt

namespace {
// The target window of a thread that has runtime data; makes nothing, so that the current
// field, event and key can be read from a fault handler.
rt::Window* ExistingTarget() {
  rt::detail::ThreadState* t = rt::detail::AttachedThread();
  if (t == nullptr) return nullptr;
  return t->target ? t->target : (t->windows.empty() ? nullptr : t->windows.back().get());
}
}  // namespace

EVENT::operator int() const {
  rt::Window* w = ExistingTarget();
  return w ? w->Event() : 0;
}
int FIELD() {
  rt::Window* w = ExistingTarget();
  return w ? w->Field() : 0;
}
int KEYCODE() {
  rt::Window* w = ExistingTarget();
  return w ? w->KeyCode() : 0;
}
std::string DROPID() {
  rt::Window* w = rt::TargetWindow();
  return w ? w->DropId() : std::string();
}
