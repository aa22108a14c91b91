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

#include "platform/rt/list_format.h"
#include "platform/rt/window_def.h"
#include "platform/win/types.h"

namespace rt {

class Window {
 public:
  Window(const WindowDef& def, HWND frame, HWND client, LONG thread);
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  const WindowDef& Def() const { return def_; }
  HWND Frame() const { return frame_; }
  HWND Client() const { return client_; }
  LONG Thread() const { return thread_; }

  int Fields() const { return static_cast<int>(def_.controls.size()); }
  bool IsField(int field) const { return field >= 1 && field <= Fields(); }
  // The field whose equate is `equate` (without "?", any case); 0 when there is none.
  int FieldOf(std::string_view equate) const;
  const ControlDef& Control(int field) const { return def_.controls.at(static_cast<std::size_t>(field - 1)); }
  // Radios of an option, tabs of a sheet, controls of a tab or group, in field order.
  std::vector<int> Children(int field) const;

  std::string Prop(int field, int prop, int index = 0) const;
  long long PropNumber(int field, int prop, int index = 0) const;
  void SetProp(int field, int prop, std::string_view value, int index = 0);
  void SetProp(int field, int prop, long long value, int index = 0);
  // A property the screen reports (the user moved or sized the window): kept, not told back.
  void NoteFromScreen(int field, int prop, std::string_view value, int index = 0);

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

  const std::vector<ListColumn>& ListColumns(int field) const;
  std::size_t ListRecords(int field) const;
  // A row's cells as the list shows them (each column's picture applied).
  std::vector<std::string> ListRow(int field, std::size_t row) const;

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
    std::vector<ListColumn> columns;
  };

  ControlState& State(int field) { return controls_.at(static_cast<std::size_t>(field - 1)); }
  const ControlState& State(int field) const { return controls_.at(static_cast<std::size_t>(field - 1)); }
  const std::map<std::pair<int, int>, std::string>& PropsOf(int field) const;
  void Notify(int field, int prop, int index);
  void ChooseRadioOf(int option);

  const WindowDef def_;  // a copy: the definition a caller built may not outlive the window
  HWND frame_;
  HWND client_;
  LONG thread_;
  std::map<std::pair<int, int>, std::string> windowProps_;
  std::vector<ControlState> controls_;

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
