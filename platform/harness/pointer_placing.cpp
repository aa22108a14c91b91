#include "platform/harness/pointer_placing.h"

#include <algorithm>

#include "platform/rt/props.h"

namespace harness {

// The harness drives the runtime from outside, through its own calls.
using namespace rt;
namespace {

std::string NameOf(const Window& w, int field) {
  return w.Control(field).equate.empty() ? std::to_string(field) : w.Control(field).equate;
}

}  // namespace

std::string PointerOver(const Window& w, int field, int row, int column, Pointer& at) {
  if (!w.IsVisible(field)) return "control " + NameOf(w, field) + " is hidden";
  const int left = static_cast<int>(w.PropNumber(field, PROP::Xpos));
  const int top = static_cast<int>(w.PropNumber(field, PROP::Ypos));
  const int width = static_cast<int>(w.PropNumber(field, PROP::Width));
  const int height = static_cast<int>(w.PropNumber(field, PROP::Height));
  at = Pointer{.inside = true, .x = left + std::max(width, 0) / 2, .y = top + std::max(height, 0) / 2};
  const Kind kind = w.Control(field).kind;
  if (row == 0 && column == 0) {
    if (kind == Kind::List) at.list = field;
    return {};
  }
  if (kind != Kind::List) return "control " + NameOf(w, field) + " has no rows";
  const auto& columns = w.ListColumns(field);
  if (row < 1 || static_cast<std::size_t>(row) > w.ListRecords(field)) {
    return "list " + NameOf(w, field) + " has no row " + std::to_string(row);
  }
  if (column == 0) column = 1;
  if (column > static_cast<int>(std::max<std::size_t>(columns.size(), 1))) {
    return "list " + NameOf(w, field) + " has no column " + std::to_string(column);
  }
  int before = 0;
  for (int i = 1; i < column; ++i) before += columns[static_cast<std::size_t>(i - 1)].width;
  const int own = columns.empty() ? width : columns[static_cast<std::size_t>(column - 1)].width;
  at.x = std::min(left + before + own / 2, left + std::max(width - 1, 0));
  at.list = field;
  at.row = row;
  at.column = column;
  at.zone = LISTZONE::Field;
  return {};
}

}  // namespace harness
