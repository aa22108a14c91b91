#include "toolkit/message_alerts.h"

#include <algorithm>
#include <string>

#include "platform/rt/thread.h"
#include "platform/win/system/last_error.h"
#include "platform/win/windows/messages.h"
#include "platform/win/windows/session_notification.h"
#include "platform/win/windows/window.h"
#include "toolkit/alert_state.h"
#include "toolkit/current_window.h"
#include "toolkit/debug_output.h"
#include "toolkit/dll_binding.h"
#include "toolkit/error_state.h"
#include "toolkit/message_names.h"
#include "toolkit/toolkit_lock.h"
#include "toolkit/tracing.h"

namespace {

// "Wtsapi32" is platform/win/windows/session_notification.cpp.
kx_ProcCell WC_WTSRegisterSessionNotification{KX_CELL_UNTRIED};
kx_ProcCell WC_WTSUnRegisterSessionNotification{KX_CELL_UNTRIED};

constexpr size_t kAddingLineLimit = 250;

void RecordAlertError(LONG code, const std::string& text) { kx_ErrorSet(code, text + " " + kx_WinError()); }

// Rows stay in order of handle; a new row goes after the rows of its handle.
void AddByHandle(std::vector<hw::AlertRow>& rows, const hw::AlertRow& row) {
  auto at = std::upper_bound(rows.begin(), rows.end(), row.HANDEL,
                             [](HWND handle, const hw::AlertRow& r) { return std::less<>()(handle, r.HANDEL); });
  rows.insert(at, row);
}

void RegisterSessionNotification(hw::AlertRow& row) {
  if (kx_LoadDLLProc("Wtsapi32", "WTSRegisterSessionNotification", WC_WTSRegisterSessionNotification) != 0) return;
  auto registerProc = kx_BoundProc<WTSRegisterSessionNotificationProc>(WC_WTSRegisterSessionNotification);
  if (registerProc(row.HANDEL, NOTIFY_FOR_ALL_SESSIONS)) {
    row.WTSNOTIFYENABLED = 1;
  } else {
    RecordAlertError(KX_ERR_ADDALERTS,
                     "WinAlert Error : WTSRegisterSessionNotification, wa:Handel = " + hw::AddressText(row.HANDEL));
  }
}

void AddAlerts(HWND handle, HWND clientHandle, LONG fromMess, LONG toMess, LONG action) {
  ToolkitLockHold hold("WinAlert");
  hw::AlertState& state = hw::ThreadAlerts();
  WNDPROC previous = nullptr;
  if (auto existing = hw::FirstRowOf(state.WA, handle); existing != state.WA.end()) {
    previous = existing->RETURNTO;  // subclassed already
  } else {
    SetLastError(0xFFFFFFFF);
    previous = reinterpret_cast<WNDPROC>(SetWindowLongA(handle, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&WinAccept)));
    if (previous == nullptr) {
      RecordAlertError(KX_ERR_ADDALERTS, "WinAlert Error : SetLongWindow failed, ch:handel=" + hw::AddressText(handle));
    }
  }
  for (std::int64_t m = fromMess; m <= toMess; ++m) {
    LONG message = static_cast<LONG>(m);
    auto found = std::find_if(state.WA.begin(), state.WA.end(), [&](const hw::AlertRow& row) {
      return row.HANDEL == handle && row.MESSAGE == message;
    });
    if (found != state.WA.end()) {
      found->ACTION = action;
    } else {
      hw::AlertRow row{handle, message, action, previous, THREAD(), handle == clientHandle ? 1 : 0, 0};
      if (message == static_cast<LONG>(WM_WTSSESSION_CHANGE) && row.ISCLIENTAREA == 0) {
        RegisterSessionNotification(row);
      }
      AddByHandle(state.WA, row);
    }
    state.MA.insert(message);
    if (kx_Tracing()) {
      std::string line = "WinAlert : Adding Alert: " + std::to_string(message) + " Action: " + std::to_string(action);
      kx_OutputDebugString(line.substr(0, kAddingLineLimit), 1);
    }
  }
}

void CloseHandle(HWND handle) {
  ToolkitLockHold hold("WinAlert");
  hw::AlertState& state = hw::ThreadAlerts();
  WNDPROC previous = nullptr;
  for (auto row = hw::FirstRowOf(state.WA, handle); row != state.WA.end(); row = hw::FirstRowOf(state.WA, handle)) {
    if (row->MESSAGE == static_cast<LONG>(WM_WTSSESSION_CHANGE) && row->WTSNOTIFYENABLED &&
        kx_LoadDLLProc("Wtsapi32", "WTSUnRegisterSessionNotification", WC_WTSUnRegisterSessionNotification) == 0 &&
        !kx_BoundProc<WTSUnRegisterSessionNotificationProc>(WC_WTSUnRegisterSessionNotification)(handle)) {
      RecordAlertError(KX_ERR_CLOSEHANDLE,
                       "WinAlert Error : WTSUnRegisterSessionNotification, wa:Handel = " + hw::AddressText(handle));
    }
    previous = row->RETURNTO;
    state.WA.erase(row);
  }
  if (previous == nullptr) return;
  SetLastError(0xFFFFFFFF);
  if (SetWindowLongA(handle, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(previous)) == 0) {
    RecordAlertError(KX_ERR_CLOSEHANDLE,
                     "WinAlert Error(2) : SetLongWindow failed, ch:handel=" + hw::AddressText(handle));
  }
}

void ClosingWin() {
  auto window = kx_CurrentWindowHandles();
  if (!window || GetActiveWindow() == nullptr) return;
  CloseHandle(window->client);
  CloseHandle(window->frame);
}

}  // namespace

namespace hw {
AlertState& ThreadAlerts() {
  thread_local AlertState state;
  return state;
}

std::vector<AlertRow>::iterator FirstRowOf(std::vector<AlertRow>& rows, HWND handle) {
  return std::find_if(rows.begin(), rows.end(), [&](const AlertRow& row) { return row.HANDEL == handle; });
}
}  // namespace hw

void WinAlert() {
  kx_ErrorReset("WinAlert");
  ClosingWin();
}

void WinAlert(std::optional<LONG> FromMess, std::optional<LONG> ToMess, std::optional<LONG> Action) {
  bool traceAlerts = kx_Switch("/debugWinAlert");
  if (traceAlerts) {
    kx_OutputDebugString("WinAlert. Top. In: " + std::to_string(FromMess.value_or(0)) + " " +
                             " Action: " + std::to_string(Action.value_or(0)),
                         1);
  }
  kx_ErrorReset("WinAlert");
  if (!FromMess) {
    if (!ToMess && !Action) ClosingWin();
    return;
  }
  LONG fromMess = *FromMess;
  LONG toMess = ToMess.value_or(fromMess);
  LONG action = Action.value_or(KX_ALERT_DEFAULT_ACTION);
  // A range that runs backwards would subclass the window with no rows, and a subclassed
  // window without rows answers 0 to everything: leave it alone.
  if (toMess < fromMess) return;
  auto window = kx_CurrentWindowHandles();
  if (!window) return;
  if (traceAlerts) {
    {
      ToolkitLockHold hold;
      if (hw::WM_Q.empty()) kx_BuildWMQ();
    }
    kx_OutputDebugString("WinAlert. Alerting: " + std::to_string(fromMess) + " " +
                             kx_MessageName(fromMess).value_or("") + " Action: " + std::to_string(action),
                         1);
  }
  AddAlerts(window->frame, window->client, fromMess, toMess, action);
  AddAlerts(window->client, window->client, fromMess, toMess, action);
}

LONG Hookwatch() { return hw::ThreadAlerts().VHOOKWATCH; }

LPARAM WinParam2() { return hw::ThreadAlerts().VPARAM2; }

LONG WinSysEvent(BYTE pClearAfterRead) {
  kx_ErrorReset("WinSysEvent");
  LONG value = hw::ThreadAlerts().VWINSYSEVENT;
  if (pClearAfterRead) hw::ThreadAlerts().VWINSYSEVENT = 0;
  return value;
}

LONG WinWtsEvent(BYTE pClearAfterRead) {
  kx_ErrorReset("WinWtsEvent");
  LONG value = hw::ThreadAlerts().VWTSEVENT;
  if (pClearAfterRead) hw::ThreadAlerts().VWTSEVENT = 0;
  return value;
}

LONG WinWtsID() { return hw::ThreadAlerts().VWTSID; }
