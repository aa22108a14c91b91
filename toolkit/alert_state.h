#pragma once
// Inside the toolkit, shared by WinAlert and WinAccept: the calling thread's alert rows and
// message slots, and how their diagnostic lines write a handle or a hook.
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "platform/win/types.h"

namespace hw {

// One alerted message of one window handle.
struct AlertRow {
  HWND HANDEL = nullptr;
  LONG MESSAGE = 0;
  LONG ACTION = 0;
  WNDPROC RETURNTO = nullptr;  // the procedure before the toolkit's; the same in every row of a handle
  LONG THREAD = 0;             // receives the events
  LONG ISCLIENTAREA = 0;
  LONG WTSNOTIFYENABLED = 0;
};

struct AlertState {
  std::vector<AlertRow> WA;  // in order of handle; read and change only under the toolkit lock
  std::set<LONG> MA;         // every message ever alerted on the thread; never shrinks
  LONG VHOOKWATCH = 0;
  LPARAM VPARAM2 = 0;
  LONG VWINSYSEVENT = 0;
  LONG VWTSEVENT = 0;
  LONG VWTSID = 0;
};

// The calling thread's state, empty at the thread's first use and freed when it ends.
AlertState& ThreadAlerts();

// The first row of the handle, or rows.end().
std::vector<AlertRow>::iterator FirstRowOf(std::vector<AlertRow>& rows, HWND handle);

// An address in decimal.
template <class Address>
std::string AddressText(Address address) {
  return std::to_string(reinterpret_cast<std::uintptr_t>(address));
}

}  // namespace hw
