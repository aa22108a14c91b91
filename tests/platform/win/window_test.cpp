#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "platform/win/system/last_error.h"
#include "platform/win/windows/window.h"

namespace {

std::vector<std::string> gCalls;

LRESULT BaseProc(HWND, UINT msg, WPARAM, LPARAM) {
  gCalls.push_back("base");
  return static_cast<LRESULT>(msg) + 1;
}

WNDPROC gPreviousA = nullptr;
LRESULT ProcA(HWND h, UINT msg, WPARAM w, LPARAM l) {
  gCalls.push_back("A");
  return CallWindowProcA(gPreviousA, h, msg, w, l);
}

WNDPROC gPreviousB = nullptr;
LRESULT ProcB(HWND h, UINT msg, WPARAM w, LPARAM l) {
  gCalls.push_back("B");
  return CallWindowProcA(gPreviousB, h, msg, w, l);
}

void Drain() {
  MSG msg;
  while (PeekMessageA(&msg, true)) DispatchMessageA(&msg);
}

TEST(WindowProcedures, ChainAndRestoreInAnyOrder) {
  HWND h = CreateWindowHandle(BaseProc);
  gPreviousA = reinterpret_cast<WNDPROC>(SetWindowLongA(h, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(ProcA)));
  gPreviousB = reinterpret_cast<WNDPROC>(SetWindowLongA(h, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(ProcB)));
  gCalls.clear();
  EXPECT_EQ(SendMessageA(h, 41, 0, 0), 42);
  EXPECT_EQ(gCalls, (std::vector<std::string>{"B", "A", "base"}));

  // Restoring the inner subclass first: B's saved procedure is the one it chains to.
  SetWindowLongA(h, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(gPreviousB));
  gCalls.clear();
  SendMessageA(h, 1, 0, 0);
  EXPECT_EQ(gCalls, (std::vector<std::string>{"A", "base"}));
  SetWindowLongA(h, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(gPreviousA));
  gCalls.clear();
  SendMessageA(h, 1, 0, 0);
  EXPECT_EQ(gCalls, (std::vector<std::string>{"base"}));
  DestroyWindow(h);
}

TEST(WindowProcedures, BadHandlesFailWithoutCrashing) {
  HWND bogus = reinterpret_cast<HWND>(0x7777);
  SetLastError(0);
  EXPECT_EQ(SetWindowLongA(bogus, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(BaseProc)), 0);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
  EXPECT_EQ(PostMessageA(bogus, 1, 0, 0), FALSE);
  EXPECT_EQ(SendMessageA(nullptr, 1, 0, 0), 0);
  HWND h = CreateWindowHandle(BaseProc);
  DestroyWindow(h);
  EXPECT_FALSE(IsWindow(h));
  EXPECT_EQ(PostMessageA(h, 1, 0, 0), FALSE);
}

LRESULT RecordProc(HWND, UINT msg, WPARAM w, LPARAM l) {
  gCalls.push_back(std::to_string(msg) + ":" + std::to_string(w) + ":" + std::to_string(l));
  return 0;
}

TEST(MessageQueues, PostedFromAnotherThreadArrivesOnTheOwner) {
  HWND h = CreateWindowHandle(RecordProc);
  DWORD owner = GetCurrentThreadId();
  DWORD poster = 0;
  std::thread([&] {
    poster = GetCurrentThreadId();
    for (int i = 0; i < 100; ++i) PostMessageA(h, 0x3C4, static_cast<WPARAM>(i), -i);
  }).join();
  EXPECT_NE(owner, poster);
  gCalls.clear();
  ASSERT_TRUE(WaitMessageA(std::chrono::milliseconds(1000)));
  Drain();
  ASSERT_EQ(gCalls.size(), 100u);
  EXPECT_EQ(gCalls.front(), "964:0:0");
  EXPECT_EQ(gCalls.back(), "964:99:-99");
  DestroyWindow(h);
}

TEST(MessageQueues, SendFromAnotherThreadIsAnsweredByTheOwnersPump) {
  HWND h = CreateWindowHandle(BaseProc);
  LRESULT answer = 0;
  std::thread sender([&] { answer = SendMessageA(h, 9, 0, 0); });
  while (!WaitMessageA(std::chrono::milliseconds(10))) {
  }
  Drain();
  sender.join();
  EXPECT_EQ(answer, 10);
  DestroyWindow(h);
}

TEST(MessageQueues, ActiveWindowIsPerThreadAndClearedOnDestroy) {
  HWND h = CreateWindowHandle(BaseProc);
  SetActiveWindow(h);
  EXPECT_EQ(GetActiveWindow(), h);
  HWND other = reinterpret_cast<HWND>(1);
  std::thread([&] { other = GetActiveWindow(); }).join();
  EXPECT_EQ(other, nullptr);
  DestroyWindow(h);
  EXPECT_EQ(GetActiveWindow(), nullptr);
}

}  // namespace

namespace {

TEST(MessageQueues, WakeHookRunsForEveryMessageQueuedForItsThread) {
  HWND h = CreateWindowHandle(BaseProc);
  const DWORD owner = GetCurrentThreadId();
  std::atomic<int> wakes{0};
  win::SetMessageWakeHook([&] { ++wakes; });
  std::thread([&] {
    PostMessageA(h, 1, 0, 0);
    PostThreadMessageA(owner, 2, 0, 0);
  }).join();
  EXPECT_EQ(wakes.load(), 2);
  win::SetMessageWakeHook(nullptr);
  PostMessageA(h, 3, 0, 0);
  EXPECT_EQ(wakes.load(), 2);
  Drain();
  DestroyWindow(h);
}

}  // namespace
