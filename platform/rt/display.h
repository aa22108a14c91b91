#pragma once
// The runtime's control statements, acting on the target window (event_loop.h). A field of
// 0 means every control (DISPLAY, UPDATE) or the window itself (properties).
#include <string>
#include <string_view>

#include "platform/rt/control_kind.h"

void DISPLAY(int field = 0);
void UPDATE(int field = 0);
// Gives the field the focus; for a list, drop list, option or sheet also chooses row, radio
// or tab `choice` (from 1) when it is not 0.
void SELECT(int field = 0, int choice = 0);
// The chosen row, radio or tab of the field (0: the field with the focus).
int CHOICE(int field = 0);
// The field that has the focus.
int FOCUS();
void HIDE(int field);
void UNHIDE(int field);
// Creates a control while the window is open (rt::Window::CreateControl): shown, without a
// place or size until the program gives them. Returns the field, or 0 with ERRORCODE()
// ERRORS::ControlNotCreated.
int CREATE(int field, rt::Kind kind, int parent = 0);
// Where the pointer is in the target window's units; -1 while it is outside the window.
int MOUSEX();
int MOUSEY();

namespace rt {
// field{prop} of the target window.
std::string GetProp(int field, int prop, int index = 0);
long long GetPropNumber(int field, int prop, int index = 0);
void SetProp(int field, int prop, std::string_view value, int index = 0);
void SetProp(int field, int prop, long long value, int index = 0);
inline void SetProp(int field, int prop, const char* value, int index = 0) { SetProp(field, prop, std::string_view(value), index); }
// The style of a list cell (row from 1, column by present position); 0: the column's default.
int CellStyle(int field, int row, int column);
void SetCellStyle(int field, int row, int column, int style);
}  // namespace rt
