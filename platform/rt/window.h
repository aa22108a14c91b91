#pragma once
// An open runtime window: its definition, its two handles, its controls' properties and
// screen state, and the state of its event loop. Windows are opened and closed through
// event_loop.h; a Window lives from OpenWindow to CloseWindow on its owner thread.
//
// Field 0 stands for the window itself in the property calls.
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/rt/list_arrangement.h"
#include "platform/rt/list_format.h"
#include "platform/rt/window_def.h"
#include "platform/win/types.h"

namespace rt {

// Where the pointer is, as the screen reports it: in the window's units (dialog units, or
// pixels when the window's Pixels is on) and, over a list, the part of it underneath.
struct Pointer {
  bool inside = false;  // false once the pointer has left the window
  int x = -1;
  int y = -1;
  int list = 0;  // the list under the pointer (0: none)
  int row = 0;   // its row and column (present position) there; 0: none
  int column = 0;
  int zone = -1;  // LISTZONE::
};

class Window {
 public:
  Window(const WindowDef& def, HWND frame, HWND client, LONG thread);
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  const WindowDef& Def() const { return def_; }
  HWND Frame() const { return frame_; }
  HWND Client() const { return client_; }
  LONG Thread() const { return thread_; }

  // Controls of the definition are fields 1 to Fields(); controls created while the window
  // is open (CreateControl) take the numbers the program gives them, above those.
  int Fields() const { return static_cast<int>(def_.controls.size()); }
  bool IsField(int field) const { return (field >= 1 && field <= Fields()) || created_.count(field) > 0; }
  // Every field, the defined ones first, then the created ones by number (stacking order).
  std::vector<int> AllFields() const;
  // Creates a control of `kind` numbered `field` inside `parent` (0: the window), at no
  // place and size until the program gives them, shown, enabled. False when the number is
  // taken or not above the defined fields, the parent does not exist, or nobody announced
  // the kind.
  bool CreateControl(int field, Kind kind, int parent);
  // The field whose equate is `equate` (without "?", any case); 0 when there is none.
  int FieldOf(std::string_view equate) const;
  const ControlDef& Control(int field) const;
  // Radios of an option, tabs of a sheet, controls of a tab or group, in field order.
  std::vector<int> Children(int field) const;

  std::string Prop(int field, int prop, int index = 0) const;
  long long PropNumber(int field, int prop, int index = 0) const;
  void SetProp(int field, int prop, std::string_view value, int index = 0);
  void SetProp(int field, int prop, long long value, int index = 0);
  // A property the screen reports (the user moved or sized the window): kept, not told back.
  void NoteFromScreen(int field, int prop, std::string_view value, int index = 0);
  // The window's place and size (its own units) as they last were while it was neither
  // maximised nor minimised: where it comes back to, and what is kept for the next run.
  Rect Restored() const { return restored_; }

  // What the control shows as its value (entry text, check value, option value).
  std::string ScreenValue(int field) const;
  void SetScreenValue(int field, std::string_view text);
  // Highlighted list row, chosen radio of an option, chosen tab of a sheet; 0 none.
  int Choice(int field) const;
  void SetChoice(int field, int choice);
  // Whether a user could reach the control: it and every enclosing control shown (and, in
  // a sheet, its tab chosen) and enabled.
  bool IsVisible(int field) const;
  bool IsEnabled(int field) const;

  // A list's columns as they stand now (the user may have moved them).
  const std::vector<ListColumn>& ListColumns(int field) const;
  const ListArrangement& Arrangement(int field) const { return State(field).arrangement; }
  std::size_t ListRecords(int field) const;
  // A row's cells as the list shows them (in the columns' present order, each column's
  // picture applied).
  std::vector<std::string> ListRow(int field, std::size_t row) const;
  // The style of a cell (row from 1, column by present position); 0: the column's default.
  int CellStyle(int field, std::size_t row, int column) const;
  void SetCellStyle(int field, std::size_t row, int column, int style);
  // The user dragged the column at `from` to `to`; false when the list refuses the move.
  bool MoveColumn(int field, int from, int to);

  // Whether the control has `key` alerted in one of its slots (Alrt 1 to 255).
  bool Alerts(int field, int key) const;

  // The pointer as the screen reported it last, and the control it is in (0: none).
  const Pointer& PointerNow() const { return pointer_; }
  int Hovered() const { return hovered_; }
  void NotePointer(const Pointer& pointer, int hovered);

  // DISPLAY: variables to the screen; UPDATE: screen to variables. Field 0: every control.
  void Display(int field = 0);
  void Update(int field = 0);

  // The event being handled by this window's loop.
  int Event() const { return event_; }
  int Field() const { return field_; }
  int KeyCode() const { return keyCode_; }
  const std::string& DropId() const { return dropId_; }

 private:
  friend struct WindowAccess;

  struct ControlState {
    std::map<std::pair<int, int>, std::string> props;
    std::string screen;
    int choice = 0;
    std::uint64_t listVersion = 0;
    ListArrangement arrangement;
  };
  struct CreatedControl {
    ControlDef def;
    ControlState state;
  };

  ControlState& State(int field);
  const ControlState& State(int field) const;
  const std::map<std::pair<int, int>, std::string>& PropsOf(int field) const;
  std::string UnreadFormat(int field) const;
  void Notify(int field, int prop, int index);
  void ChooseRadioOf(int option);
  void KeepRestored(int field, int prop);

  const WindowDef def_;  // a copy: the definition a caller built may not outlive the window
  HWND frame_;
  HWND client_;
  LONG thread_;
  std::map<std::pair<int, int>, std::string> windowProps_;
  Rect restored_;
  std::vector<ControlState> controls_;
  std::map<int, CreatedControl> created_;
  Pointer pointer_;
  int hovered_ = 0;

  // Event loop state (event_loop.cpp).
  int event_ = 0;
  int field_ = 0;
  int keyCode_ = 0;
  std::string dropId_;
  bool closing_ = false;   // CloseWindow delivered and not cancelled
  bool shown_ = false;     // the screen knows the window
  std::int64_t timerDue_ = 0;
  bool timerPending_ = false;
};

}  // namespace rt
