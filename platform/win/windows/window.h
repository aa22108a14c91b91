#pragma once
// Window handles, replaceable window procedures and per-thread message queues.
//
// A handle belongs to the thread that created it; messages posted to it from any thread
// wait in that thread's queue until the thread's pump takes them. Handles are numbers,
// never addresses, so a stale or made-up handle is detected instead of dereferenced.
#include <chrono>
#include <functional>

#include "platform/win/types.h"

struct MSG {
  HWND hwnd = nullptr;
  UINT message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
};

inline constexpr int GWL_WNDPROC = -4;
inline constexpr int GWL_USERDATA = -21;

// Thread number of the calling thread (1 for the first thread that asks, then 2, 3, ...).
DWORD GetCurrentThreadId();

// Creates a handle owned by the calling thread with the given window procedure.
HWND CreateWindowHandle(WNDPROC proc);
BOOL DestroyWindow(HWND hwnd);
BOOL IsWindow(HWND hwnd);

// GWL_WNDPROC: replaces the window procedure and returns the previous one (0 and
// ERROR_INVALID_WINDOW_HANDLE for a bad handle). GWL_USERDATA: one pointer-sized cell.
LONG_PTR SetWindowLongA(HWND hwnd, int index, LONG_PTR value);
LONG_PTR GetWindowLongA(HWND hwnd, int index);
LRESULT CallWindowProcA(WNDPROC proc, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT DefWindowProcA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Safe from any thread. FALSE for a handle that does not exist.
BOOL PostMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// A message with no window, for the thread's own pump (to wake it, for instance).
BOOL PostThreadMessageA(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam);
// Calls the window procedure at once on the owning thread; from another thread the
// call is queued to the owner and waits for its answer. 0 for a bad handle.
LRESULT SendMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// The calling thread's queue. PeekMessageA takes the oldest message (when remove is
// true); WaitMessageA blocks until a message is queued or the time has passed.
BOOL PeekMessageA(MSG* msg, bool remove);
BOOL WaitMessageA(std::chrono::milliseconds timeout);
LRESULT DispatchMessageA(const MSG* msg);

// The calling thread's active (foreground) window; 0 when none.
HWND GetActiveWindow();
HWND SetActiveWindow(HWND hwnd);

inline constexpr DWORD ERROR_INVALID_WINDOW_HANDLE = 1400;

namespace win {
// Installs, for the calling thread's queue, a function called (on the posting thread) after
// every message queued for it. A screen whose own event loop waits instead of WaitMessageA
// wakes that loop with it. An empty function removes it.
void SetMessageWakeHook(std::function<void()> hook);
// The calling thread's id if GetCurrentThreadId has made it, else 0; never makes anything,
// so a fault handler may ask.
DWORD KnownThreadId();
}  // namespace win
