#pragma once
// Inside the runtime: the data every runtime thread carries. Not for use above platform/rt.
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/win/types.h"

namespace rt {
class Window;
}

namespace rt::detail {

struct PendingEvent {
  int event = 0;
  int field = 0;
  Window* window = nullptr;  // nullptr: whichever window is on top when it is taken
  int keyCode = 0;
  std::string dropId;
};

struct ThreadState {
  LONG id = 0;
  std::mutex lock;  // guards `events` only: POST comes from any thread
  std::deque<PendingEvent> events;

  // Touched by the owning thread only.
  std::vector<std::unique_ptr<Window>> windows;  // open windows, bottom to top
  Window* target = nullptr;
  Window* dispatching = nullptr;  // window whose raw message is being dispatched
  int errorCode = 0;
  std::size_t hooksStarted = 0;
  bool ended = false;
};

// The calling thread's data, created (and its start hooks run) on first use.
ThreadState& CurrentThread();
// The calling thread's data if it has any, without making it (safe in a fault handler).
ThreadState* AttachedThread();

// Queues an event of the calling thread.
void Enqueue(ThreadState& thread, PendingEvent event);
// The thread message that carries a POST from another thread (wParam event, lParam field).
inline constexpr UINT kPostedEventMessage = 0x7FF0;
bool PostFromAnotherThread(LONG thread, int event, int field);
// While held, threads do not run newly registered start hooks (module start-up runs every
// module's process start before any thread start).
void HoldThreadStarts(bool hold);

// Queues an event for one window of the calling thread (the window's procedure and the
// user's actions do this).
void PostToWindow(Window& window, int event, int field, int keyCode = 0, std::string dropId = {});
// Whether the calling thread has a raw message, or an event for its top window, waiting.
bool HasWork();

}  // namespace rt::detail
