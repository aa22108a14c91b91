#include "platform/qt/session_end.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <csignal>
#include <gtest/gtest.h>

#include "platform/win/windows/messages.h"
#include "platform/rt/events.h"
#include "platform/win/windows/window.h"
#include "screen_fixture.h"

namespace qtscreen {
namespace {

struct Seen {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

std::vector<Seen> gSeen;
WNDPROC gOriginal = nullptr;
LRESULT gAnswer = TRUE;

LRESULT Original(HWND, UINT message, WPARAM, LPARAM) { return message == WM_QUERYENDSESSION ? TRUE : 0; }

// Records and passes everything on: the window's own procedure answers.
LRESULT Recording(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_QUERYENDSESSION || message == WM_ENDSESSION) gSeen.push_back({message, wParam, lParam});
  return CallWindowProcA(gOriginal, hwnd, message, wParam, lParam);
}

// What the toolkit does: subclass the window, answer the query itself, chain the rest.
LRESULT Subclass(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT chained = Recording(hwnd, message, wParam, lParam);
  return message == WM_QUERYENDSESSION ? gAnswer : chained;
}

class SessionEndTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gSeen.clear();
    gAnswer = TRUE;
    hwnd_ = CreateWindowHandle(Original);
    gOriginal = reinterpret_cast<WNDPROC>(SetWindowLongA(hwnd_, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(Subclass)));
  }
  void TearDown() override { DestroyWindow(hwnd_); }

  void WaitForMessages(std::size_t count) {
    QElapsedTimer timer;
    timer.start();
    while (gSeen.size() < count && timer.elapsed() < 5000) QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
  }

  HWND hwnd_ = nullptr;
  int endings_ = 0;
};

TEST_F(SessionEndTest, SignalsReachTheSubclassedProcedureWithTheRightReason) {
  struct Case {
    int signal;
    LPARAM reason;
  };
  for (Case c : {Case{SIGHUP, ENDSESSION_LOGOFF}, Case{SIGTERM, 0}}) {
    SCOPED_TRACE(c.signal);
    gSeen.clear();
    endings_ = 0;
    SessionEnd session([&] { return std::vector<HWND>{hwnd_}; }, [&] { ++endings_; });
    raise(c.signal);
    WaitForMessages(2);
    ASSERT_EQ(gSeen.size(), 2u);
    EXPECT_EQ(gSeen[0].message, WM_QUERYENDSESSION);
    EXPECT_EQ(gSeen[0].lParam, c.reason);
    EXPECT_EQ(gSeen[1].message, WM_ENDSESSION);
    EXPECT_EQ(gSeen[1].wParam, WPARAM(TRUE));
    EXPECT_EQ(gSeen[1].lParam, c.reason);
    EXPECT_EQ(endings_, 1);
  }
}

TEST_F(SessionEndTest, ARefusingWindowKeepsTheProgramRunning) {
  gAnswer = FALSE;
  HWND agreeing = CreateWindowHandle(Original);
  SessionEnd session([&] { return std::vector<HWND>{agreeing, hwnd_}; }, [&] { ++endings_; });
  EXPECT_FALSE(session.End(true));
  ASSERT_EQ(gSeen.size(), 2u);
  EXPECT_EQ(gSeen[1].message, WM_ENDSESSION);
  EXPECT_EQ(gSeen[1].wParam, WPARAM(FALSE));
  EXPECT_EQ(endings_, 0);
  DestroyWindow(agreeing);
}

TEST_F(SessionEndTest, WindowsClosedMeanwhileAreSkipped) {
  HWND gone = CreateWindowHandle(Original);
  DestroyWindow(gone);
  SessionEnd session([&] { return std::vector<HWND>{gone, hwnd_}; }, [&] { ++endings_; });
  EXPECT_TRUE(session.End(false));
  EXPECT_EQ(gSeen.size(), 2u);
  EXPECT_EQ(endings_, 1);
}

}  // namespace
}  // namespace qtscreen

// The whole road on the Qt screen: the signal, the subclassed procedure of an open runtime
// window, the runtime's own procedure answering for the window, and the windows closed in
// order so the program can save its settings.
TEST_F(ScreenTest, TheSessionEndReachesOpenWindowsAndClosesThem) {
  qtscreen::gSeen.clear();
  qtscreen::gOriginal = reinterpret_cast<WNDPROC>(
      SetWindowLongA(window_->Frame(), GWL_WNDPROC, reinterpret_cast<LONG_PTR>(qtscreen::Recording)));
  raise(SIGHUP);
  const auto events = Events();
  ASSERT_EQ(qtscreen::gSeen.size(), 2u);
  EXPECT_EQ(qtscreen::gSeen[0].message, WM_QUERYENDSESSION);
  EXPECT_EQ(qtscreen::gSeen[0].lParam, ENDSESSION_LOGOFF);
  EXPECT_EQ(qtscreen::gSeen[1].wParam, WPARAM(TRUE));
  EXPECT_EQ(events, (std::vector<std::pair<int, int>>{{EVENT::CloseWindow, 0}}));
  signal(SIGHUP, SIG_DFL);
}
