#include <string>

#include "platform/rt/command.h"
#include "platform/rt/events.h"
#include "platform/rt/post.h"
#include "platform/rt/dialogs.h"
#include "platform/rt/thread.h"
#include "platform/win/system/debug_output.h"
#include "platform/win/windows/messages.h"
#include "platform/win/windows/window.h"
#include "toolkit/alert_state.h"
#include "toolkit/debug_output.h"
#include "toolkit/error_state.h"
#include "toolkit/hex_format.h"
#include "toolkit/message_alerts.h"
#include "toolkit/message_names.h"
#include "toolkit/session_hooks.h"
#include "toolkit/toolkit_lock.h"
#include "toolkit/tracing.h"

namespace {

using hw::AddressText;

std::string Number(std::int64_t value) { return std::to_string(value); }

void Say(const std::string& line) { kx_OutputDebugString(line, 1); }

// The runtime event for a message posted with action bit 8; 0 for none.
int NativeEventOf(UINT message) {
  switch (message) {
    case WM_CLOSE: return EVENT::CloseWindow;
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE: return EVENT::MouseMove;
    case WM_TIMER: return EVENT::Timer;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN: return EVENT::Accepted;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
    case WM_NCLBUTTONUP:
    case WM_NCRBUTTONUP:
    case WM_NCMBUTTONUP: return EVENT::MouseUp;
    default: return 0;
  }
}

int ToolkitEventOf(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case KX_TRAY_CALLBACK_MESSAGE: return KX_EVENT_TRAY_CALLBACK + static_cast<int>(lParam);
    case WM_SYSCOMMAND: return KX_EVENT_SYSCOMMAND;
    case WM_QUERYENDSESSION: return KX_EVENT_QUERYENDSESSION;
    case WM_ENDSESSION: return wParam == 0 ? KX_EVENT_ENDSESSION_ABORTED : KX_EVENT_ENDSESSION_NOW;
    case WM_WTSSESSION_CHANGE: return KX_EVENT_SESSION_CHANGE;
    default: return KX_EVENT_BASE;
  }
}

void PostEvent(const hw::AlertRow& row, UINT message, WPARAM wParam, LPARAM lParam) {
  if (row.ACTION & KX_ALERT_NATIVE_EVENT) {
    if (int event = NativeEventOf(message)) POST(event, 0, THREAD());
  } else if (row.ACTION & KX_ALERT_POST_EVENT) {
    POST(ToolkitEventOf(message, wParam, lParam), 0, row.THREAD);
  }
}

std::string MessageNameForTrace(UINT message) {
  if (message == KX_TRAY_CALLBACK_MESSAGE) return "TaskBarCallBackMsg";
  if (message >= WM_USER) return "HW::WM_USER + " + Number(message - WM_USER);
  if (auto name = kx_MessageName(static_cast<LONG>(message))) return *name;
  kx_ErrorSet(KX_ERR_WINACCEPT, "WinAccept unknown message : " + kx_FormatHex(message, 6) + "h " + Number(message));
  return "[Unknown]";
}

void TraceMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  ToolkitLockHold hold("WinAccept(1)");
  std::string name = MessageNameForTrace(message);
  if (kx_Switch("/debugWinAlert")) {
    Say("Windows Message : " + Number(message) + " " + name + " p1=" + Number(static_cast<std::int64_t>(wParam)) +
        " p2=" + Number(lParam) + " handle=" + AddressText(hwnd));
  }
}

// The answer to an alerted WM_QUERYENDSESSION when the ok-to-end hook is set.
LRESULT AskToEndSession(kx_SessionHook okToEnd, const hw::AlertRow& row, WPARAM wParam, LPARAM lParam, LONG logoff) {
  bool checkStops = kx_Switch("/CheckshutDownStops");
  if (checkStops) {
    Say("  ShowStop1 ");
    STOP("Before fp_EndSessionHandler: 0");
    Say("  ShowStop2 : " + AddressText(okToEnd));
    STOP("fp_EndSessionHandler: " + AddressText(okToEnd));
  }
  LONG answer = okToEnd(logoff);
  if (checkStops) STOP("CheckshutDown: " + Number(answer));
  Say("  It's going down... the ship's going down..... " + Number(answer) + " thread: " + Number(THREAD()) +
      " wa:thread " + Number(row.THREAD));
  if (answer != 0) {
    Say("  Posting event....");
    PostEvent(row, WM_QUERYENDSESSION, wParam, lParam);
    Say("  Returning(1)....");
    return 1;
  }
  PostEvent(row, WM_QUERYENDSESSION, wParam, lParam);
  return 0;
}

}  // namespace

LRESULT WinAccept(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  AttachThreadToRuntime(1);
  kx_ErrorReset("WinAccept");
  if (kx_Tracing()) TraceMessage(hwnd, message, wParam, lParam);

  const LONG logoff = (static_cast<ULONG>(lParam) & static_cast<ULONG>(ENDSESSION_LOGOFF)) ? 1 : 0;
  const LONG msg = static_cast<LONG>(message);
  ToolkitLockHold hold("WinAccept(2)");
  hw::AlertState& state = hw::ThreadAlerts();

  // The newest row of (message, window) decides; the wheel counts only at the client
  // window and painting only at the frame.
  const hw::AlertRow* alert = nullptr;
  const hw::AlertRow* examined = nullptr;
  size_t alertNumber = 0;
  if (state.MA.contains(msg)) {
    for (size_t i = state.WA.size(); i-- > 0;) {
      examined = &state.WA[i];
      if (examined->MESSAGE != msg || examined->HANDEL != hwnd) continue;
      bool counts = !(message == WM_MOUSEWHEEL && examined->ISCLIENTAREA != 1) &&
                    !(message == WM_PAINT && examined->ISCLIENTAREA != 0);
      if (counts) {
        alert = examined;
        alertNumber = i + 1;
      }
      break;
    }
  }
  if (message == WM_QUERYENDSESSION) {
    Say("Check: HW::WM_QUERYENDSESSION: " + Number(examined ? examined->MESSAGE : 0) + " =? " + Number(msg) +
        " hnd: " + AddressText(examined ? examined->HANDEL : nullptr) + " =? " + AddressText(hwnd) +
        " y=" + Number(static_cast<std::int64_t>(alertNumber)) + " vNoEndSession= 0");
  }

  if (alert == nullptr) {
    auto any = hw::FirstRowOf(state.WA, hwnd);
    if (any == state.WA.end()) {
      kx_ErrorSet(KX_ERR_WINACCEPT, "WinAccept get on queue WA failed(2), wa:handel = " + AddressText(hwnd));
      return 0;
    }
    if (message == WM_ENDSESSION && wParam != 0) {
      if (kx_SessionHook endSession = kx_EndSessionHandler()) endSession(logoff);
      return 0;
    }
    WNDPROC previous = any->RETURNTO;
    hold.Release();
    return CallWindowProcA(previous, hwnd, message, wParam, lParam);
  }

  // Work on a copy: the rows may change while the lock is not held.
  const hw::AlertRow row = *alert;
  hold.Release();
  if (message == WM_SYSCOMMAND) {
    state.VWINSYSEVENT = msg;
  } else if (message == WM_WTSSESSION_CHANGE) {
    state.VWTSEVENT = static_cast<LONG>(wParam);
    state.VWTSID = static_cast<LONG>(lParam);
  } else if (message != KX_TRAY_CALLBACK_MESSAGE) {
    state.VHOOKWATCH = msg;
    state.VPARAM2 = lParam;
  }
  if (kx_Switch("/TipquillDebug")) {
    if (message == WM_SYSCOMMAND) OutputDebugStringA("WinAccept HW::WM_SYSCOMMAND\r\n");
    if (message == WM_HELP) {
      OutputDebugStringA("WinAccept HW::WM_HELP BEFORE PEEK\r\n");
      OutputDebugStringA("WinAccept HW::WM_HELP AFTER PEEK\r\n");
    }
  }

  if (message == WM_QUERYENDSESSION) {
    Say("  ARE WE SERIOUSLY NOT GETTING HERE?????: cmd: " + COMMAND(""));
    // The hook that is asked is the one that must be set.
    if (kx_SessionHook okToEnd = kx_OkToEndSessionHandler()) {
      return AskToEndSession(okToEnd, row, wParam, lParam, logoff);
    }
  }
  if (message == WM_ENDSESSION && wParam != 0) {
    if (kx_SessionHook endSession = kx_EndSessionHandler()) {
      if (kx_Switch("/CheckshutDownStops")) STOP("fp_EndSessionHandler " + AddressText(endSession));
      endSession(logoff);
    }
    PostEvent(row, message, wParam, lParam);
    return 0;
  }
  PostEvent(row, message, wParam, lParam);
  if (row.ACTION & KX_ALERT_PASS_ON) return CallWindowProcA(row.RETURNTO, hwnd, message, wParam, lParam);
  return (row.ACTION & KX_ALERT_ANSWER_TRUE) ? 1 : 0;
}
