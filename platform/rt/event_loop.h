#pragma once
// Opening windows and running their event loops on the calling thread.
//
// The pump rule: the loop takes one raw window message, dispatches it, and then delivers
// every runtime event that it caused before it takes the next raw message; values that a
// message leaves in per-thread slots are therefore read by the events that belong to it.
// A window's loop delivers only that window's events; events of windows beneath it (a
// modal window is open on top) wait until their window's loop runs again.
//
//   rt::Window* w = rt::OpenWindow(def);      // posts OpenWindow, becomes the target
//   while (rt::Accept(*w)) { ... EVENT(), FIELD() ... }
//   rt::CloseWindow(*w);
#include <string>
#include <vector>

#include "platform/rt/events.h"
#include "platform/rt/window.h"
#include "platform/rt/window_def.h"

namespace rt {

// Opens the window on the calling thread, with its own copy of the definition: frame and
// client handles with the runtime's window procedure, properties from the definition, shown
// by the screen, made the active window and the target, OpenWindow posted. nullptr
// (ERRORCODE() 40) when the definition holds a kind nobody announced or a control whose feq
// is not its position.
Window* OpenWindow(const WindowDef& def);
// Closes the window: the screen forgets it, its handles are destroyed, its pending events
// dropped; the window beneath becomes active and the target.
void CloseWindow(Window& window);

// The next event for the window, waiting for it as long as needed. False once the window
// is closing: after a CloseWindow event that its handler did not cancel with CancelClose.
bool Accept(Window& window);
// The same without waiting: false when nothing is pending now.
bool PollEvent(Window& window);
void CancelClose(Window& window);

// Lets the event loop run one round of raw messages and timers without delivering events:
// what a test or a screen calls to let posted messages be handled.
void PumpMessages();

// The thread's top (most recently opened) window and the target window (the window that
// property calls without a window act on); nullptr when none.
Window* TopWindow();
// The thread's open windows, bottom to top.
std::vector<Window*> OpenWindows();
Window* TargetWindow();

// The runtime's window procedure: WM_CLOSE becomes CloseWindow, WM_TIMER Timer, mouse
// presses Accepted (the mouse-down event), releases MouseUp, moves MouseMove, each posted
// to the handle's window with field 0.
LRESULT RuntimeWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace rt

// The field, key and drop of the event being handled by the target window's loop (the
// thread's top window when no target is set); EVENT() itself is in events.h.
int FIELD();
int KEYCODE();
std::string DROPID();
