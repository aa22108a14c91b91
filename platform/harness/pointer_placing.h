#pragma once
// Where a screen without real geometry (the scripted screen) puts the pointer when the
// user moves it onto a control: the middle of the control; for a list cell, the middle of
// its column (by the format's widths) with that row and column under it.
#include <string>

#include "platform/rt/window.h"

namespace harness {

// Fills `at` and answers "" or why the pointer cannot go there: a control out of sight, a
// row or column the list does not have. Row 0 is the list itself; a row without a column
// means its first column.
std::string PointerOver(const rt::Window& window, int field, int row, int column, rt::Pointer& at);

}  // namespace harness
