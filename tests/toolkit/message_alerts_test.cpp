#include <gtest/gtest.h>

#include <vector>

#include "platform/rt/event_loop.h"
#include "platform/rt/events.h"
#include "platform/rt/thread.h"
#include "platform/win/windows/messages.h"
#include "platform/win/windows/window.h"
#include "toolkit/alert_state.h"
#include "toolkit/error_state.h"
#include "toolkit/message_alerts.h"
#include "toolkit/session_hooks.h"
#include "toolkit_test_support.h"

namespace {

constexpr UINT MM_MIM_OPEN = 0x3C1;
constexpr UINT MM_MIM_DATA = 0x3C3;
constexpr UINT MM_MOM_OPEN = 0x3C7;
constexpr LRESULT kPreviousAnswer = 77;

// The procedure in place before the toolkit's: counts its calls and answers 77.
thread_local int tPreviousCalls = 0;
LRESULT PreviousProc(HWND, UINT, WPARAM, LPARAM) {
  ++tPreviousCalls;
  return kPreviousAnswer;
}

LONG gLogoffSeen = -1;
LONG gOkAnswer = 1;
int gEndCalls = 0;
LONG OkToEnd(LONG logoff) {
  gLogoffSeen = logoff;
  return gOkAnswer;
}
LONG EndNow(LONG logoff) {
  gLogoffSeen = logoff;
  ++gEndCalls;
  return 0;
}

// The runtime keeps the definition for the window's life.
const rt::WindowDef kAlertWindow{.label = "ALERTS", .caption = "Alerts"};

WNDPROC ProcOf(HWND h) { return reinterpret_cast<WNDPROC>(GetWindowLongA(h, GWL_WNDPROC)); }

class Alerts : public ::testing::Test {
 protected:
  void SetUp() override {
    window_ = rt::OpenWindow(kAlertWindow);
    ASSERT_NE(window_, nullptr);
    frame_ = window_->Frame();
    client_ = window_->Client();
    for (HWND h : {frame_, client_}) SetWindowLongA(h, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&PreviousProc));
    Events();
    tPreviousCalls = 0;
    gLogoffSeen = -1;
    gOkAnswer = 1;
    gEndCalls = 0;
  }
  void TearDown() override {
    WinAlert();
    kx_SetOkToEndSessionHandler(nullptr);
    kx_SetEndSessionHandler(nullptr);
    while (rt::Window* w = rt::TopWindow()) rt::CloseWindow(*w);
  }

  std::vector<int> Events() {
    std::vector<int> seen;
    while (rt::PollEvent(*window_)) seen.push_back(EVENT());
    return seen;
  }

  rt::Window* window_ = nullptr;
  HWND frame_ = nullptr;
  HWND client_ = nullptr;
};

TEST_F(Alerts, ActionBitsDecideAnswerPassOnAndEvent) {
  for (LONG action = 0; action < 16; ++action) {
    WinAlert(WM_LBUTTONDOWN, WM_LBUTTONDOWN, action);
    tPreviousCalls = 0;
    LRESULT answer = SendMessageA(frame_, WM_LBUTTONDOWN, 0, 5);
    LRESULT expected = (action & 2) ? kPreviousAnswer : (action & 1) ? 1 : 0;
    EXPECT_EQ(answer, expected) << "action " << action;
    EXPECT_EQ(tPreviousCalls, (action & 2) ? 1 : 0) << "action " << action;
    std::vector<int> expectedEvents;
    if (action & 8) {
      expectedEvents = {EVENT::Accepted};
    } else if (action & 4) {
      expectedEvents = {KX_EVENT_BASE};
    }
    EXPECT_EQ(Events(), expectedEvents) << "action " << action;
  }
  // Every WinAlert after the first changed only the action: one row per handle, and the
  // handles still chain to the procedure that was there before.
  EXPECT_EQ(hw::ThreadAlerts().WA.size(), 2u);
  for (const auto& row : hw::ThreadAlerts().WA) EXPECT_EQ(row.RETURNTO, &PreviousProc);
  EXPECT_EQ(ProcOf(frame_), &WinAccept);
}

TEST_F(Alerts, NativeEventsTranslateOnlyTheirMessages) {
  struct Case {
    UINT message;
    std::vector<int> events;
  } cases[] = {
      {WM_CLOSE, {EVENT::CloseWindow}},    {WM_NCMOUSEMOVE, {EVENT::MouseMove}}, {WM_TIMER, {EVENT::Timer}},
      {WM_NCRBUTTONDOWN, {EVENT::Accepted}}, {WM_MBUTTONUP, {EVENT::MouseUp}},     {WM_PAINT, {}},
  };
  for (const auto& c : cases) {
    WinAlert(c.message, c.message, 8);
    SendMessageA(frame_, c.message, 0, 0);
    auto events = Events();
    if (c.message == WM_CLOSE) rt::CancelClose(*window_);
    EXPECT_EQ(events, c.events) << c.message;
  }
}

TEST_F(Alerts, WheelCountsAtTheClientAndPaintAtTheFrame) {
  WinAlert(WM_MOUSEWHEEL);
  WinAlert(WM_PAINT, WM_PAINT, 4);
  struct Case {
    HWND* to;
    UINT message;
    LRESULT answer;
    int previousCalls;
    std::vector<int> events;
  } cases[] = {
      {&frame_, WM_MOUSEWHEEL, kPreviousAnswer, 1, {}},
      {&client_, WM_MOUSEWHEEL, kPreviousAnswer, 1, {KX_EVENT_BASE}},
      {&frame_, WM_PAINT, 0, 0, {KX_EVENT_BASE}},
      {&client_, WM_PAINT, kPreviousAnswer, 1, {}},
  };
  for (const auto& c : cases) {
    tPreviousCalls = 0;
    EXPECT_EQ(SendMessageA(*c.to, c.message, 0, 0), c.answer) << c.message;
    EXPECT_EQ(tPreviousCalls, c.previousCalls) << c.message;
    EXPECT_EQ(Events(), c.events) << c.message;
  }
}

TEST_F(Alerts, OmittedAndBackwardArgumentsLeaveTheWindowAlone) {
  WinAlert(std::nullopt, 7, 4);
  WinAlert(10, 5);
  EXPECT_TRUE(hw::ThreadAlerts().WA.empty());
  EXPECT_EQ(ProcOf(frame_), &PreviousProc);

  WinAlert(5);
  ASSERT_EQ(hw::ThreadAlerts().WA.size(), 2u);
  for (const auto& row : hw::ThreadAlerts().WA) {
    EXPECT_EQ(row.MESSAGE, 5);
    EXPECT_EQ(row.ACTION, KX_ALERT_DEFAULT_ACTION);
    EXPECT_EQ(row.ISCLIENTAREA, row.HANDEL == client_ ? 1 : 0);
  }
}

TEST_F(Alerts, RemovingNeedsAnActiveWindow) {
  WinAlert(MM_MIM_OPEN, MM_MOM_OPEN, 6);
  SetActiveWindow(nullptr);
  WinAlert();
  EXPECT_EQ(hw::ThreadAlerts().WA.size(), 2u * 7u);
  EXPECT_EQ(ProcOf(client_), &WinAccept);

  SetActiveWindow(frame_);
  WinAlert();
  EXPECT_TRUE(hw::ThreadAlerts().WA.empty());
  EXPECT_EQ(ProcOf(frame_), &PreviousProc);
  EXPECT_EQ(ProcOf(client_), &PreviousProc);
}

TEST_F(Alerts, SlotsHoldTheLatestMessage) {
  WinAlert(MM_MIM_OPEN, MM_MOM_OPEN, 6);
  SendMessageA(frame_, MM_MIM_DATA, 0, 11);
  SendMessageA(frame_, MM_MIM_DATA, 0, 22);
  std::vector<LPARAM> seen;
  while (rt::PollEvent(*window_)) seen.push_back(WinParam2());
  EXPECT_EQ(seen, (std::vector<LPARAM>{22, 22}));

  WinAlert(WM_SYSCOMMAND);
  SendMessageA(frame_, WM_SYSCOMMAND, 0, 33);
  EXPECT_EQ(Events(), std::vector<int>{KX_EVENT_SYSCOMMAND});
  EXPECT_EQ(WinParam2(), 22);  // a system command has a slot of its own
  EXPECT_EQ(WinSysEvent(1), static_cast<LONG>(WM_SYSCOMMAND));
  EXPECT_EQ(WinSysEvent(0), 0);
}

TEST_F(Alerts, ThePumpHandsEachEventItsOwnMessage) {
  WinAlert(MM_MIM_OPEN, MM_MOM_OPEN, 6);
  PostMessageA(frame_, MM_MIM_OPEN, 0, 0);
  PostMessageA(frame_, MM_MOM_OPEN, 0, 0);
  std::vector<LONG> seen;
  while (rt::PollEvent(*window_)) {
    if (EVENT() == KX_EVENT_BASE) seen.push_back(Hookwatch());
  }
  EXPECT_EQ(seen, (std::vector<LONG>{static_cast<LONG>(MM_MIM_OPEN), static_cast<LONG>(MM_MOM_OPEN)}));
}

TEST_F(Alerts, SessionEndAnswers) {
  struct Case {
    const char* what;
    bool alerted, okHook, endHook;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    LRESULT answer;
    std::vector<int> events;
    LONG logoffSeen;
    int endCalls, previousCalls;
  } cases[] = {
      {"query, hook allows", true, true, true, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, 1,
       {KX_EVENT_QUERYENDSESSION}, 1, 0, 0},
      {"query, hook refuses", true, true, true, WM_QUERYENDSESSION, 0, 0, 0, {KX_EVENT_QUERYENDSESSION}, 0, 0, 0},
      {"query, only the end hook set", true, false, true, WM_QUERYENDSESSION, 0, 0, 1, {KX_EVENT_QUERYENDSESSION},
       -1, 0, 0},
      {"query, not alerted", false, true, true, WM_QUERYENDSESSION, 0, 0, kPreviousAnswer, {}, -1, 0, 1},
      {"end now", true, true, true, WM_ENDSESSION, 1, ENDSESSION_CLOSEAPP, 0, {KX_EVENT_ENDSESSION_NOW}, 0, 1, 0},
      {"end now, not alerted", false, true, true, WM_ENDSESSION, 1, ENDSESSION_LOGOFF, 0, {}, 1, 1, 0},
      {"end now, no hook", true, true, false, WM_ENDSESSION, 1, 0, 0, {KX_EVENT_ENDSESSION_NOW}, -1, 0, 0},
      {"end aborted", true, true, true, WM_ENDSESSION, 0, 0, 1, {KX_EVENT_ENDSESSION_ABORTED}, -1, 0, 0},
      {"end aborted, not alerted", false, true, true, WM_ENDSESSION, 0, 0, kPreviousAnswer, {}, -1, 0, 1},
  };
  DebugCapture sessionEndLines;
  for (const auto& c : cases) {
    WinAlert();
    WinAlert(WM_USER, WM_USER, 6);  // the window is subclassed either way
    if (c.alerted) WinAlert(c.message, c.message, 5);
    kx_SetOkToEndSessionHandler(c.okHook ? &OkToEnd : nullptr);
    kx_SetEndSessionHandler(c.endHook ? &EndNow : nullptr);
    gOkAnswer = c.answer;
    gLogoffSeen = -1;
    gEndCalls = 0;
    tPreviousCalls = 0;
    EXPECT_EQ(SendMessageA(frame_, c.message, c.wParam, c.lParam), c.answer) << c.what;
    EXPECT_EQ(Events(), c.events) << c.what;
    EXPECT_EQ(gLogoffSeen, c.logoffSeen) << c.what;
    EXPECT_EQ(gEndCalls, c.endCalls) << c.what;
    EXPECT_EQ(tPreviousCalls, c.previousCalls) << c.what;
  }
}

TEST_F(Alerts, SessionEndLinesGoThroughTheToolkitWriter) {
  WinAlert(WM_QUERYENDSESSION, WM_QUERYENDSESSION, 5);
  kx_SetOkToEndSessionHandler(&OkToEnd);
  DebugCapture debug;
  SendMessageA(frame_, WM_QUERYENDSESSION, 0, 0);
  // The toolkit's writer drops the blank after "cmd:" (the command line is empty here).
  const std::string frame = std::to_string(reinterpret_cast<std::uintptr_t>(frame_));
  EXPECT_EQ(debug.text, "Check: HW::WM_QUERYENDSESSION: 17 =? 17 hnd: " + frame + " =? " + frame +
                            " y=1 vNoEndSession= 0\r\n"
                            "  ARE WE SERIOUSLY NOT GETTING HERE?????: cmd:\r\n"
                            "  It's going down... the ship's going down..... 1 thread: " +
                            std::to_string(THREAD()) + " wa:thread " + std::to_string(THREAD()) +
                            "\r\n  Posting event....\r\n  Returning(1)....\r\n");
}

TEST_F(Alerts, HooksAreReplacedAndReturned) {
  EXPECT_EQ(kx_SetOkToEndSessionHandler(&OkToEnd), nullptr);
  EXPECT_EQ(kx_SetOkToEndSessionHandler(nullptr), &OkToEnd);
  EXPECT_EQ(kx_SetEndSessionHandler(&EndNow), nullptr);
  EXPECT_EQ(kx_SetEndSessionHandler(&EndNow), &EndNow);
}

TEST_F(Alerts, AWindowWithoutRowsAnswersZeroAndRecordsIt) {
  HWND stray = CreateWindowHandle(nullptr);
  EXPECT_EQ(WinAccept(stray, WM_USER, 0, 0), 0);
  EXPECT_EQ(kx_ThreadErrorState().HOOKWATCHERRORCODE, KX_ERR_WINACCEPT);
  EXPECT_EQ(kx_ThreadErrorState().HOOKWATCHEXTENDEDERR,
            "WinAccept get on queue WA failed(2), wa:handel = " +
                std::to_string(reinterpret_cast<std::uintptr_t>(stray)));
  DestroyWindow(stray);
}

TEST_F(Alerts, TracingNamesMessages) {
  CommandLine command({"/debug"});
  DebugCapture debug;
  WinAlert(WM_CLOSE, WM_CLOSE, 1);
  SendMessageA(frame_, WM_CLOSE, 0, 0);
  EXPECT_EQ(kx_ThreadErrorState().HOOKWATCHERRORCODE, 0);  // named without "/debugWinAlert"
  EXPECT_NE(debug.text.find("WinAlert : Adding Alert: 16 Action: 1\r\n"), std::string::npos);

  WinAlert(0x25, 0x25, 1);
  SendMessageA(frame_, 0x25, 0, 0);
  EXPECT_EQ(kx_Error(), "WinAccept error, WinAccept unknown message : 000025h 37, WinAccept");
}

}  // namespace
