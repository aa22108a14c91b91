#pragma once
// Message alerts: a window asks for raw window messages as events of its own event loop.
//
// WinAlert subclasses the current window's frame and client handles with WinAccept, which
// turns each alerted message into an event posted to the thread that asked, keeps the
// message's number and parameters in per-thread slots for the event handler to read, and
// answers the message by the alert's action bits. WinAccept also routes the session-end
// messages to the session-end hooks (session_hooks.h).
#include <optional>

#include "platform/win/types.h"

// Action bits of an alert (default 6).
inline constexpr LONG KX_ALERT_ANSWER_TRUE = 1;    // answer 1 (when bit 2 is clear)
inline constexpr LONG KX_ALERT_PASS_ON = 2;        // the previous procedure answers
inline constexpr LONG KX_ALERT_POST_EVENT = 4;     // post the toolkit event
inline constexpr LONG KX_ALERT_NATIVE_EVENT = 8;   // post a runtime event instead
inline constexpr LONG KX_ALERT_DEFAULT_ACTION = 6;

// Toolkit events, numbered from the thread's base event.
inline constexpr int KX_EVENT_BASE = 0x500;                       // any other alerted message
inline constexpr int KX_EVENT_TRAY_CALLBACK = KX_EVENT_BASE + 5000;  // + lParam, for message 25000
inline constexpr int KX_EVENT_SYSCOMMAND = KX_EVENT_BASE + 5502;
inline constexpr int KX_EVENT_QUERYENDSESSION = KX_EVENT_BASE + 5503;
inline constexpr int KX_EVENT_ENDSESSION_ABORTED = KX_EVENT_BASE + 5504;
inline constexpr int KX_EVENT_ENDSESSION_NOW = KX_EVENT_BASE + 5505;
inline constexpr int KX_EVENT_SESSION_CHANGE = KX_EVENT_BASE + 5506;
inline constexpr UINT KX_TRAY_CALLBACK_MESSAGE = 25000;

// No argument: removes the current window's alerts and its subclassing. Otherwise alerts
// the messages FromMess..ToMess (ToMess omitted: FromMess only) with Action on the current
// window's frame and client handles; a second alert of a message changes only its action.
// FromMess omitted, or ToMess below FromMess, leaves the window alone. Call on the thread
// that owns the window.
void WinAlert();
void WinAlert(std::optional<LONG> FromMess, std::optional<LONG> ToMess = std::nullopt,
              std::optional<LONG> Action = std::nullopt);

// The latest alerted message of the calling thread and its lParam. Several messages
// alerted before the first event is handled all read the latest values.
LONG Hookwatch();
LPARAM WinParam2();
// 0x112 after an alerted WM_SYSCOMMAND, else 0; a non-zero argument clears it after reading.
LONG WinSysEvent(BYTE pClearAfterRead);
// The session-change code and session id of the latest WM_WTSSESSION_CHANGE.
LONG WinWtsEvent(BYTE pClearAfterRead);
LONG WinWtsID();

// The window procedure WinAlert installs.
LRESULT WinAccept(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
