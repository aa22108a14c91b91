#include "platform/rt/thread.h"

#include <atomic>
#include <map>

#include "platform/rt/thread_state.h"
#include "platform/rt/window.h"
#include "platform/win/modules/unhandled_exception_filter.h"
#include "platform/win/windows/window.h"

namespace rt::detail {
namespace {

struct Hooks {
  std::function<void()> start;
  std::function<void()> end;
};

std::mutex gRegistryLock;
std::map<LONG, std::weak_ptr<ThreadState>> gThreads;
std::vector<Hooks> gHooks;  // guarded by gRegistryLock; only ever grows
std::atomic<std::size_t> gHookCount{0};  // gHooks.size(), readable without the lock

Hooks HookAt(std::size_t index) {
  std::lock_guard guard(gRegistryLock);
  return index < gHooks.size() ? gHooks[index] : Hooks{};
}

std::size_t HookCount() { return gHookCount.load(std::memory_order_acquire); }

void RunStartHooks(ThreadState& state) {
  if (state.ended) return;
  while (state.hooksStarted < HookCount()) {
    Hooks hooks = HookAt(state.hooksStarted++);
    if (hooks.start) hooks.start();
  }
}

void RunEndHooks(ThreadState& state) {
  if (state.ended) return;
  state.ended = true;
  while (state.hooksStarted > 0) {
    Hooks hooks = HookAt(--state.hooksStarted);
    if (hooks.end) hooks.end();
  }
}

// The thread's data as a plain pointer: reading it never constructs the holder below (whose
// first use registers its destructor, which allocates), so a fault handler may.
__thread ThreadState* tAttached = nullptr;

// Owns the thread's data; its destructor is the thread's end.
struct ThreadHolder {
  std::shared_ptr<ThreadState> state;
  bool starting = false;

  ~ThreadHolder() {
    if (!state) return;
    tAttached = nullptr;
    RunEndHooks(*state);
    {
      std::lock_guard guard(gRegistryLock);
      gThreads.erase(state->id);
    }
    while (!state->windows.empty()) state->windows.pop_back();
  }
};

thread_local ThreadHolder tHolder;

// Another thread's data; nullptr when that thread is unknown or has ended.
std::shared_ptr<ThreadState> FindThread(LONG id) {
  std::lock_guard guard(gRegistryLock);
  auto it = gThreads.find(id);
  return it == gThreads.end() ? nullptr : it->second.lock();
}

void AddHooks(std::function<void()> start, std::function<void()> end) {
  std::lock_guard guard(gRegistryLock);
  gHooks.push_back(Hooks{std::move(start), std::move(end)});
  gHookCount.store(gHooks.size(), std::memory_order_release);
}

void EndCurrentThread() {
  ThreadState& state = CurrentThread();
  RunEndHooks(state);
}

}  // namespace

std::atomic<bool> gHoldStarts{false};

ThreadState& CurrentThread() {
  // The window services' thread data must be made first, so that it outlives ours.
  static thread_local const LONG windowThreadId = static_cast<LONG>(GetCurrentThreadId());
  if (!tHolder.state) {
    win::PrepareThreadForFaults();
    auto state = std::make_shared<ThreadState>();
    state->id = windowThreadId;
    {
      std::lock_guard guard(gRegistryLock);
      gThreads[state->id] = state;
    }
    tHolder.state = state;
    tAttached = state.get();
  }
  ThreadState& state = *tHolder.state;
  // Hooks registered since this thread attached are caught up here; a hook that itself
  // uses the runtime must not start the round again.
  if (!tHolder.starting && !gHoldStarts && state.hooksStarted < HookCount()) {
    tHolder.starting = true;
    RunStartHooks(state);
    tHolder.starting = false;
  }
  return state;
}

ThreadState* AttachedThread() { return tAttached; }

void Enqueue(ThreadState& thread, PendingEvent event) {
  std::lock_guard guard(thread.lock);
  thread.events.push_back(std::move(event));
}

bool PostFromAnotherThread(LONG thread, int event, int field) {
  if (!FindThread(thread)) return false;
  // Through the thread's message queue, so that the event keeps its place among the raw
  // messages the same poster sent, and a waiting pump wakes up.
  return PostThreadMessageA(static_cast<DWORD>(thread), kPostedEventMessage, static_cast<WPARAM>(event),
                            static_cast<LPARAM>(field)) != FALSE;
}

void HoldThreadStarts(bool hold) { gHoldStarts = hold; }

}  // namespace rt::detail

LONG THREAD() {
  // A fault handler makes nothing: a thread that never used the runtime tells the number
  // the window services gave it, if any.
  if (win::InFaultHandler()) {
    rt::detail::ThreadState* state = rt::detail::AttachedThread();
    return state ? state->id : static_cast<LONG>(win::KnownThreadId());
  }
  return rt::detail::CurrentThread().id;
}

void AttachThreadToRuntime(int) {
  if (win::InFaultHandler()) return;
  rt::detail::CurrentThread();
}

namespace rt {
void AddThreadHooks(std::function<void()> start, std::function<void()> end) {
  detail::AddHooks(std::move(start), std::move(end));
}

void DetachThreadFromRuntime() { detail::EndCurrentThread(); }
}  // namespace rt
