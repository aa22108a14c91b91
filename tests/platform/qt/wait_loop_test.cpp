#include "platform/qt/wait_loop.h"

#include <QElapsedTimer>
#include <QTimer>
#include <gtest/gtest.h>
#include <thread>

#include "platform/win/windows/messages.h"
#include "platform/win/windows/window.h"

namespace qtscreen {
namespace {

using std::chrono::milliseconds;

TEST(WaitLoop, EndsWhenAnotherThreadPostsAMessage) {
  WaitLoop wait;
  const DWORD self = GetCurrentThreadId();
  std::thread poster([self] {
    std::this_thread::sleep_for(milliseconds(50));
    PostThreadMessageA(self, WM_NULL, 0, 0);
  });
  QElapsedTimer clock;
  clock.start();
  wait.Run(milliseconds(10000));
  EXPECT_LT(clock.elapsed(), 5000);
  poster.join();
  MSG msg;
  EXPECT_TRUE(PeekMessageA(&msg, true));
}

TEST(WaitLoop, EndsWhenTheUserActsOrTheTimeIsUp) {
  WaitLoop wait;
  QElapsedTimer clock;
  clock.start();
  wait.Run(milliseconds(60));
  EXPECT_GE(clock.elapsed(), 55);
  EXPECT_LT(clock.elapsed(), 3000);

  QTimer::singleShot(20, [] { WaitLoop::Wake(); });
  clock.restart();
  wait.Run(milliseconds(10000));
  EXPECT_LT(clock.elapsed(), 5000);
}

TEST(WaitLoop, AMessageAlreadyQueuedNeedsNoWait) {
  WaitLoop wait;
  PostThreadMessageA(GetCurrentThreadId(), WM_NULL, 0, 0);
  QElapsedTimer clock;
  clock.start();
  wait.Run(milliseconds(10000));
  EXPECT_LT(clock.elapsed(), 1000);
  MSG msg;
  EXPECT_TRUE(PeekMessageA(&msg, true));
}

}  // namespace
}  // namespace qtscreen
