#include "platform/rt/post.h"

#include "platform/rt/event_loop.h"
#include "platform/rt/thread_state.h"
#include "platform/win/windows/window.h"

BOOL POST(int event, int field, LONG thread) {
  using namespace rt::detail;
  // A back-end thread posting to the window thread does not become a runtime thread.
  if (thread != 0 && thread != static_cast<LONG>(GetCurrentThreadId())) {
    return PostFromAnotherThread(thread, event, field) ? TRUE : FALSE;
  }
  ThreadState& self = CurrentThread();
  rt::Window* window = self.dispatching ? self.dispatching : rt::TargetWindow();
  Enqueue(self, PendingEvent{event, field, window, 0, {}});
  return TRUE;
}
