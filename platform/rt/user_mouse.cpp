// The user's mouse: the pointer moving over controls, left clicks, columns dragged.
#include "platform/rt/events.h"
#include "platform/rt/props.h"
#include "platform/rt/thread_state.h"
#include "platform/rt/user_action.h"
#include "platform/rt/user_refusals.h"

namespace rt::user {
namespace {

using detail::ControlName;
using detail::TakeTypingAndReach;
using detail::WrongKind;

bool FollowsMouse(const Window& w, int field) {
  return w.Control(field).kind == Kind::Region || !w.Prop(field, PROP::Imm).empty();
}

bool Contains(const Window& w, int field, int x, int y) {
  const long long left = w.PropNumber(field, PROP::Xpos), top = w.PropNumber(field, PROP::Ypos);
  const long long width = w.PropNumber(field, PROP::Width), height = w.PropNumber(field, PROP::Height);
  return x >= left && x < left + width && y >= top && y < top + height;
}

// The topmost control under the point that follows the mouse; later fields stand above.
int ControlAt(const Window& w, int x, int y) {
  std::vector<int> fields = w.AllFields();
  for (auto it = fields.rbegin(); it != fields.rend(); ++it) {
    if (FollowsMouse(w, *it) && w.IsVisible(*it) && w.IsEnabled(*it) && Contains(w, *it, x, y)) return *it;
  }
  return 0;
}

void Post(Window& w, int event, int field, int keyCode = 0) { rt::detail::PostToWindow(w, event, field, keyCode); }

void MoveInto(Window& w, const Pointer& at, int control) {
  const int before = w.Hovered();
  w.NotePointer(at, control);
  if (before != control) {
    if (before != 0 && w.IsField(before)) Post(w, EVENT::MouseOut, before);
    if (control != 0) Post(w, EVENT::MouseIn, control);
  }
  if (control != 0) Post(w, EVENT::MouseMove, control);
}

}  // namespace

void PointerMoved(Window& w, Pointer at) {
  at.inside = true;
  if (!w.IsField(at.list) || (w.Control(at.list).kind != Kind::List && w.Control(at.list).kind != Kind::Combo)) {
    at.list = at.row = at.column = 0;
    at.zone = LISTZONE::Nowhere;
  }
  MoveInto(w, at, ControlAt(w, at.x, at.y));
}

void PointerLeft(Window& w) { MoveInto(w, Pointer{}, 0); }

std::string Click(Window& w, int field) {
  std::string refused = TakeTypingAndReach(w, field);
  if (!refused.empty()) return refused;
  const Kind kind = w.Control(field).kind;
  const bool clickable = kind == Kind::String || kind == Kind::SString || kind == Kind::Prompt || kind == Kind::Region ||
                         kind == Kind::Entry;
  if (!clickable) return WrongKind(w, field, "clicked");
  // An alerted key takes the click: the control does nothing else with it.
  if (w.Alerts(field, KEY::MouseLeft)) {
    Post(w, EVENT::AlertKey, field, KEY::MouseLeft);
  } else if (kind == Kind::Region) {
    Post(w, EVENT::Accepted, field);
  } else if (kind == Kind::Entry) {
    Focused(w, field);
  }
  return {};
}

std::string DoubleClick(Window& w, int field, int row, int column) {
  std::string refused = TakeTypingAndReach(w, field);
  if (!refused.empty()) return refused;
  if (w.Control(field).kind != Kind::List || w.Control(field).drop) return WrongKind(w, field, "double-clicked");
  if (row < 1 || static_cast<std::size_t>(row) > w.ListRecords(field)) {
    return "list " + ControlName(w, field) + " has no row " + std::to_string(row);
  }
  if (column > 0) w.NoteFromScreen(field, PROP::Column, std::to_string(column));
  if (row != w.Choice(field)) {
    w.SetChoice(field, row);
    Post(w, EVENT::NewSelection, field);
  }
  Post(w, EVENT::Accepted, field);
  return {};
}

std::string MoveColumn(Window& w, int field, int from, int to) {
  std::string refused = TakeTypingAndReach(w, field);
  if (!refused.empty()) return refused;
  if (w.Control(field).kind != Kind::List || w.Control(field).drop) return WrongKind(w, field, "rearranged");
  const int columns = static_cast<int>(w.ListColumns(field).size());
  if (from < 1 || from > columns || to < 1 || to > columns) {
    return "list " + ControlName(w, field) + " has no column " + std::to_string(from < 1 || from > columns ? from : to);
  }
  if (!w.MoveColumn(field, from, to)) return "the format of list " + ControlName(w, field) + " keeps column " + std::to_string(from) + " in place";
  w.NoteFromScreen(field, PROP::Column, std::to_string(to));
  Post(w, EVENT::ColumnResize, field);
  return {};
}

}  // namespace rt::user
