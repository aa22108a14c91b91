#pragma once
// What a user does to a window, as a screen reports it. Each call changes what the control
// shows, updates its USE variable where a user's action does, and posts the events the action
// fires; the real and the scripted screen both go through here, so the program cannot tell
// them apart. Calls that can be refused return why ("" when carried out): a control that is
// hidden, disabled, of the wrong kind, or in a window beneath the top one.
//
// Every action that can act on the values (all but Type and the geometry reports) first lets
// the screen give the runtime what the user typed into the focused control and did not yet
// leave (Screen::CommitEdit), so a button pressed from the keyboard sees the typed text.
#include <string>
#include <string_view>
#include <vector>

#include "platform/rt/window.h"

namespace rt::user {

// The window a user can act on: the thread's top window that is not defined hidden.
Window* ActiveWindow();

// Button: Accepted. Check box: toggles, Accepted. Radio: chooses it in its option,
// Accepted for the option. Tab: chooses the tab (as Select on the sheet).
std::string Press(Window& window, int field);
// List: highlights row (from 1), NewSelection; `column` (present position, 0: not known)
// becomes the list's Column; a list with Imm on then hears the press as MouseDown
// (KEYCODE() KEY::MouseLeft). Drop list: also Accepted. Option: the row-th radio, as Press.
// Sheet: the row-th tab, TabChanging then NewSelection.
std::string Select(Window& window, int field, int row, int column = 0);
// Entry, spin box, combo: replaces the text (cut to the control's length), Accepted.
// Characters an entry does not take (ControlDef::typable) are left out, with a beep; a
// spin box's number is held within its range.
std::string Type(Window& window, int field, std::string_view text);
// List: highlights the row (NewSelection, with KEYCODE() KEY::MouseRight, when it changes; row
// 0 is the empty space below the rows); a list with Imm on hears the press as MouseDown (KEYCODE() KEY::MouseRight), then
// AlertKey with KEYCODE() KEY::MouseRight when the list alerts that key.
std::string RightClick(Window& window, int field, int row, int column = 0);
// A double click on a list's row (from 1): the row is highlighted (NewSelection when it
// changes), Column is the column clicked (0: not known), and the list is Accepted.
std::string DoubleClick(Window& window, int field, int row, int column = 0);
// A left click on a string, prompt, region or entry. A control that alerts KEY::MouseLeft
// gets AlertKey and nothing else; otherwise a region is Accepted and an entry takes the
// focus (as Focused).
std::string Click(Window& window, int field);
// The user dragged a list's column from one position to another (from 1): the columns
// stand in their new order and the list gets ColumnResize with Column the new position.
// Refused when either position does not exist or the format does not let the column move.
std::string MoveColumn(Window& window, int field, int from, int to);

// The pointer moved (see rt::Pointer). The topmost control under it that follows the
// mouse (a region, or any control with Imm on; shown and enabled) is the one it is in:
// MouseOut to the control it left, MouseIn to the one it entered, then MouseMove to that
// one. A list under the pointer answers MouseMoveRow, MouseMoveField and MouseMoveZone.
void PointerMoved(Window& window, Pointer at);
// The pointer left the window: MouseOut to the control it was in.
void PointerLeft(Window& window);
// Files dropped from the shell on a control whose drop id includes "~FILE": Drop, with
// DROPID() the paths joined by commas.
std::string DropFiles(Window& window, int field, const std::vector<std::string>& paths);
// The close box: WM_CLOSE to the frame handle (CloseWindow through its window procedure).
void Close(Window& window);
// Enter: presses the focused button, else the window's default button; otherwise nothing.
std::string PressEnter(Window& window);
// Escape: a modal window closes as by its close box; other windows ignore it.
void PressEscape(Window& window);

// The window's geometry as the user left it (the window's own units); posts Moved, Sized,
// Maximized, Iconized or Restored. The screen is not told back.
void Moved(Window& window, int x, int y);
void Resized(Window& window, int width, int height);
void Maximized(Window& window);
void Minimized(Window& window);
void Restored(Window& window);
// The focus moved to a control: FOCUS() reads it, and the control gets Selected.
void Focused(Window& window, int field);

}  // namespace rt::user
