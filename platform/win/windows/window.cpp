#include "platform/win/windows/window.h"

#include <atomic>
#include <condition_variable>
#include <deque>
#include <future>
#include <memory>
#include <mutex>
#include <unordered_map>

#include "platform/win/system/last_error.h"
#include "platform/win/windows/messages.h"

namespace {

// A cross-thread SendMessage waits on this while the owner runs the procedure.
struct SentCall {
  std::promise<LRESULT> answer;
};

struct QueuedMessage {
  MSG msg;
  std::shared_ptr<SentCall> sent;  // set for a SendMessage from another thread
};

struct ThreadQueue {
  DWORD threadId = 0;
  std::mutex lock;
  std::condition_variable ready;
  std::deque<QueuedMessage> messages;
  HWND active = nullptr;
  std::function<void()> wake;
};

struct WindowEntry {
  WNDPROC proc = nullptr;
  LONG_PTR userData = 0;
  std::weak_ptr<ThreadQueue> owner;
  DWORD threadId = 0;
};

std::atomic<DWORD> gNextThreadId{1};
std::mutex gTableLock;
std::unordered_map<std::uintptr_t, WindowEntry> gWindows;
std::unordered_map<DWORD, std::weak_ptr<ThreadQueue>> gQueues;
std::uintptr_t gNextHandle = 0x10010;

std::shared_ptr<ThreadQueue> CurrentQueue() {
  thread_local std::shared_ptr<ThreadQueue> queue = [] {
    auto q = std::make_shared<ThreadQueue>();
    q->threadId = gNextThreadId.fetch_add(1);
    std::lock_guard table(gTableLock);
    gQueues[q->threadId] = q;
    return q;
  }();
  return queue;
}

std::uintptr_t Key(HWND hwnd) { return reinterpret_cast<std::uintptr_t>(hwnd); }

// Looks the handle up under the table lock; nullptr when it does not exist.
WindowEntry* Find(HWND hwnd) {
  auto it = gWindows.find(Key(hwnd));
  return it == gWindows.end() ? nullptr : &it->second;
}

void Enqueue(const std::shared_ptr<ThreadQueue>& queue, QueuedMessage item) {
  std::function<void()> wake;
  {
    std::lock_guard guard(queue->lock);
    queue->messages.push_back(std::move(item));
    wake = queue->wake;
  }
  queue->ready.notify_all();
  if (wake) wake();
}

WNDPROC ProcOf(HWND hwnd) {
  std::lock_guard table(gTableLock);
  WindowEntry* entry = Find(hwnd);
  return entry ? entry->proc : nullptr;
}

}  // namespace

namespace {
__thread DWORD tKnownThreadId;  // plain thread data: readable in a fault handler
}

DWORD GetCurrentThreadId() {
  if (tKnownThreadId == 0) tKnownThreadId = CurrentQueue()->threadId;
  return tKnownThreadId;
}

namespace win {
DWORD KnownThreadId() { return tKnownThreadId; }
}  // namespace win

HWND CreateWindowHandle(WNDPROC proc) {
  auto queue = CurrentQueue();
  std::lock_guard table(gTableLock);
  std::uintptr_t key = gNextHandle;
  gNextHandle += 4;
  gWindows[key] = WindowEntry{proc ? proc : DefWindowProcA, 0, queue, queue->threadId};
  return reinterpret_cast<HWND>(key);
}

BOOL DestroyWindow(HWND hwnd) {
  std::shared_ptr<ThreadQueue> owner;
  {
    std::lock_guard table(gTableLock);
    auto it = gWindows.find(Key(hwnd));
    if (it == gWindows.end()) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return FALSE;
    }
    owner = it->second.owner.lock();
    gWindows.erase(it);
  }
  if (owner) {
    std::lock_guard guard(owner->lock);
    if (owner->active == hwnd) owner->active = nullptr;
  }
  return TRUE;
}

BOOL IsWindow(HWND hwnd) {
  std::lock_guard table(gTableLock);
  return Find(hwnd) ? TRUE : FALSE;
}

LONG_PTR SetWindowLongA(HWND hwnd, int index, LONG_PTR value) {
  std::lock_guard table(gTableLock);
  WindowEntry* entry = Find(hwnd);
  if (!entry) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  LONG_PTR previous = 0;
  if (index == GWL_WNDPROC) {
    if (value == 0) {
      SetLastError(87);
      return 0;
    }
    previous = reinterpret_cast<LONG_PTR>(entry->proc);
    entry->proc = reinterpret_cast<WNDPROC>(value);
  } else if (index == GWL_USERDATA) {
    previous = entry->userData;
    entry->userData = value;
  } else {
    SetLastError(87);
    return 0;
  }
  return previous;
}

LONG_PTR GetWindowLongA(HWND hwnd, int index) {
  std::lock_guard table(gTableLock);
  WindowEntry* entry = Find(hwnd);
  if (!entry) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  if (index == GWL_WNDPROC) return reinterpret_cast<LONG_PTR>(entry->proc);
  if (index == GWL_USERDATA) return entry->userData;
  SetLastError(87);
  return 0;
}

LRESULT CallWindowProcA(WNDPROC proc, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return proc ? proc(hwnd, message, wParam, lParam) : 0;
}

// A window with no say of its own lets the desktop session end, as the default procedure
// of the platform the program was designed for does.
LRESULT DefWindowProcA(HWND, UINT message, WPARAM, LPARAM) { return message == WM_QUERYENDSESSION ? TRUE : 0; }

BOOL PostMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  std::shared_ptr<ThreadQueue> owner;
  {
    std::lock_guard table(gTableLock);
    WindowEntry* entry = Find(hwnd);
    if (entry) owner = entry->owner.lock();
  }
  if (!owner) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  Enqueue(owner, QueuedMessage{MSG{hwnd, message, wParam, lParam}, nullptr});
  return TRUE;
}

BOOL PostThreadMessageA(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam) {
  std::shared_ptr<ThreadQueue> queue;
  {
    std::lock_guard table(gTableLock);
    auto it = gQueues.find(threadId);
    if (it != gQueues.end()) queue = it->second.lock();
  }
  if (!queue) {
    SetLastError(1444);  // ERROR_INVALID_THREAD_ID
    return FALSE;
  }
  Enqueue(queue, QueuedMessage{MSG{nullptr, message, wParam, lParam}, nullptr});
  return TRUE;
}

LRESULT SendMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  std::shared_ptr<ThreadQueue> owner;
  WNDPROC proc = nullptr;
  {
    std::lock_guard table(gTableLock);
    WindowEntry* entry = Find(hwnd);
    if (entry) {
      owner = entry->owner.lock();
      proc = entry->proc;
    }
  }
  if (!owner) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  if (owner == CurrentQueue()) return CallWindowProcA(proc, hwnd, message, wParam, lParam);
  auto call = std::make_shared<SentCall>();
  auto answer = call->answer.get_future();
  Enqueue(owner, QueuedMessage{MSG{hwnd, message, wParam, lParam}, call});
  return answer.get();
}

BOOL PeekMessageA(MSG* msg, bool remove) {
  auto queue = CurrentQueue();
  for (;;) {
    QueuedMessage item;
    {
      std::lock_guard guard(queue->lock);
      if (queue->messages.empty()) return FALSE;
      if (!remove) {
        if (msg) *msg = queue->messages.front().msg;
        return TRUE;
      }
      item = std::move(queue->messages.front());
      queue->messages.pop_front();
    }
    // A message sent from another thread is answered here and never handed out.
    if (item.sent) {
      item.sent->answer.set_value(CallWindowProcA(ProcOf(item.msg.hwnd), item.msg.hwnd, item.msg.message,
                                                  item.msg.wParam, item.msg.lParam));
      continue;
    }
    if (msg) *msg = item.msg;
    return TRUE;
  }
}

BOOL WaitMessageA(std::chrono::milliseconds timeout) {
  auto queue = CurrentQueue();
  std::unique_lock guard(queue->lock);
  return queue->ready.wait_for(guard, timeout, [&] { return !queue->messages.empty(); }) ? TRUE : FALSE;
}

LRESULT DispatchMessageA(const MSG* msg) {
  if (msg == nullptr || msg->hwnd == nullptr) return 0;
  WNDPROC proc = ProcOf(msg->hwnd);
  if (!proc) return 0;
  return CallWindowProcA(proc, msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

HWND GetActiveWindow() {
  auto queue = CurrentQueue();
  std::lock_guard guard(queue->lock);
  return queue->active;
}

HWND SetActiveWindow(HWND hwnd) {
  auto queue = CurrentQueue();
  std::lock_guard guard(queue->lock);
  HWND previous = queue->active;
  queue->active = hwnd;
  return previous;
}

namespace win {
void SetMessageWakeHook(std::function<void()> hook) {
  auto queue = CurrentQueue();
  std::lock_guard guard(queue->lock);
  queue->wake = std::move(hook);
}
}  // namespace win
