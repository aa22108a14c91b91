#include "platform/rt/user_action.h"

#include <algorithm>

#include "platform/rt/event_loop.h"
#include "platform/rt/events.h"
#include "platform/rt/props.h"
#include "platform/rt/screen.h"
#include "platform/rt/thread_state.h"
#include "platform/rt/use.h"
#include "platform/rt/user_refusals.h"
#include "platform/win/windows/messages.h"
#include "platform/win/windows/window.h"

namespace rt::user {
namespace {

using detail::Reachable;
using detail::TakeTypingAndReach;
using detail::WrongKind;

// A list with Imm on hears every press of a mouse button as MouseDown, with the button.
bool FollowsPresses(const Window& w, int field) { return w.PropNumber(field, PROP::Imm) != 0; }

void Post(Window& w, int event, int field, int keyCode = 0, std::string dropId = {}) {
  rt::detail::PostToWindow(w, event, field, keyCode, std::move(dropId));
}

bool IsList(const ControlDef& control) { return control.kind == Kind::List || control.kind == Kind::Combo; }

// The length of the UTF-8 sequence at `at` and its code point; a byte that starts no whole
// sequence is one character that no range holds.
std::size_t NextCharacter(std::string_view text, std::size_t at, char32_t& c) {
  const auto lead = static_cast<unsigned char>(text[at]);
  const std::size_t length = lead < 0x80            ? 1
                             : (lead & 0xE0) == 0xC0 ? 2
                             : (lead & 0xF0) == 0xE0 ? 3
                             : (lead & 0xF8) == 0xF0 ? 4
                                                     : 0;
  c = length == 1 ? lead : length == 2 ? lead & 0x1Fu : length == 3 ? lead & 0x0Fu : lead & 0x07u;
  if (length == 0 || at + length > text.size()) {
    c = 0xFFFFFFFFu;
    return 1;
  }
  for (std::size_t k = 1; k < length; ++k) {
    const auto next = static_cast<unsigned char>(text[at + k]);
    if ((next & 0xC0) != 0x80) {
      c = 0xFFFFFFFFu;
      return 1;
    }
    c = (c << 6) | (next & 0x3Fu);
  }
  return length;
}

// What an entry keeps of typed text; `dropped` tells whether anything was left out.
std::string Typable(const CharRange& range, std::string_view text, bool& dropped) {
  dropped = false;
  if (range.Any()) return std::string(text);
  std::string kept;
  for (std::size_t at = 0; at < text.size();) {
    char32_t c = 0;
    const std::size_t length = NextCharacter(text, at, c);
    if (c != 0xFFFFFFFFu && range.Holds(c)) kept.append(text.substr(at, length));
    else dropped = true;
    at += length;
  }
  return kept;
}

std::string ChooseRadio(Window& w, int option, int position) {
  std::vector<int> radios;
  for (int child : w.Children(option)) {
    if (w.Control(child).kind == Kind::Radio) radios.push_back(child);
  }
  if (position < 1 || position > static_cast<int>(radios.size())) {
    return "option " + w.Control(option).equate + " has no radio " + std::to_string(position);
  }
  std::string refused = Reachable(w, radios[static_cast<std::size_t>(position - 1)]);
  if (!refused.empty()) return refused;
  w.SetChoice(option, position);
  w.Update(option);
  Post(w, EVENT::Accepted, option);
  return {};
}

std::string ChooseTab(Window& w, int sheet, int position) {
  std::vector<int> tabs = w.Children(sheet);
  if (position < 1 || position > static_cast<int>(tabs.size())) {
    return "sheet " + w.Control(sheet).equate + " has no tab " + std::to_string(position);
  }
  Post(w, EVENT::TabChanging, sheet);
  w.SetChoice(sheet, position);
  Post(w, EVENT::NewSelection, sheet);
  return {};
}

}  // namespace

Window* ActiveWindow() {
  std::vector<Window*> windows = OpenWindows();
  for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
    if (!(*it)->Def().hidden) return *it;
  }
  return nullptr;
}

std::string Press(Window& w, int field) {
  std::string refused = TakeTypingAndReach(w, field);
  if (!refused.empty()) return refused;
  const ControlDef& control = w.Control(field);
  switch (control.kind) {
    case Kind::Button:
      Post(w, EVENT::Accepted, field);
      return {};
    case Kind::Check: {
      std::string on = control.value.empty() ? "1" : control.value;
      std::string off = control.offValue.empty() ? "0" : control.offValue;
      w.SetScreenValue(field, w.ScreenValue(field) == on ? off : on);
      w.Update(field);
      Post(w, EVENT::Accepted, field);
      return {};
    }
    case Kind::Radio: {
      int option = control.parent;
      if (!w.IsField(option) || w.Control(option).kind != Kind::Option) return "radio " + control.equate + " has no option";
      std::vector<int> siblings = w.Children(option);
      int position = 0;
      for (int child : siblings) {
        if (w.Control(child).kind == Kind::Radio) ++position;
        if (child == field) break;
      }
      return ChooseRadio(w, option, position);
    }
    case Kind::Tab: {
      int sheet = control.parent;
      std::vector<int> tabs = w.Children(sheet);
      auto at = std::find(tabs.begin(), tabs.end(), field);
      return ChooseTab(w, sheet, static_cast<int>(at - tabs.begin()) + 1);
    }
    default:
      return WrongKind(w, field, "pressed");
  }
}

std::string Select(Window& w, int field, int row, int column) {
  std::string refused = TakeTypingAndReach(w, field);
  if (!refused.empty()) return refused;
  const ControlDef& control = w.Control(field);
  if (control.kind == Kind::Option) return ChooseRadio(w, field, row);
  if (control.kind == Kind::Sheet) return ChooseTab(w, field, row);
  if (!IsList(control)) return WrongKind(w, field, "selected");
  if (row < 1 || static_cast<std::size_t>(row) > w.ListRecords(field)) {
    return "list " + control.equate + " has no row " + std::to_string(row);
  }
  if (column > 0) w.NoteFromScreen(field, PROP::Column, std::to_string(column));
  w.SetChoice(field, row);
  w.Update(field);
  Post(w, EVENT::NewSelection, field);
  if (control.drop) Post(w, EVENT::Accepted, field);
  if (!control.drop && FollowsPresses(w, field)) Post(w, EVENT::MouseDown, field, KEY::MouseLeft);
  return {};
}

std::string Type(Window& w, int field, std::string_view text) {
  std::string refused = Reachable(w, field);
  if (!refused.empty()) return refused;
  const ControlDef& control = w.Control(field);
  bool typable = control.kind == Kind::Entry || control.kind == Kind::Spin || control.kind == Kind::Combo ||
                 control.kind == Kind::Text;
  if (!typable || control.readOnly) return WrongKind(w, field, "typed into");
  bool dropped = false;
  std::string kept = Typable(control.typable, text, dropped);
  if (dropped) CurrentScreen().Beep();
  // A spin box holds nothing beyond its range: a number past an end stops there.
  if (control.kind == Kind::Spin && control.low != control.high) {
    const auto [low, high] = std::minmax(control.low, control.high);
    kept = std::to_string(std::clamp<long long>(TextToNumber(kept), low, high));
  }
  w.SetScreenValue(field, kept);
  w.Update(field);
  Post(w, EVENT::Accepted, field);
  return {};
}

std::string RightClick(Window& w, int field, int row, int column) {
  std::string refused = TakeTypingAndReach(w, field);
  if (!refused.empty()) return refused;
  const ControlDef& control = w.Control(field);
  if (!IsList(control)) return WrongKind(w, field, "right-clicked");
  if (row < 0 || static_cast<std::size_t>(row) > w.ListRecords(field)) {
    return "list " + control.equate + " has no row " + std::to_string(row);
  }
  if (column > 0) w.NoteFromScreen(field, PROP::Column, std::to_string(column));
  if (row > 0 && row != w.Choice(field)) {
    w.SetChoice(field, row);
    Post(w, EVENT::NewSelection, field, KEY::MouseRight);  // the program can tell a menu's highlight from a choice
  }
  if (FollowsPresses(w, field)) Post(w, EVENT::MouseDown, field, KEY::MouseRight);
  if (w.Alerts(field, KEY::MouseRight)) Post(w, EVENT::AlertKey, field, KEY::MouseRight);
  return {};
}

std::string DropFiles(Window& w, int field, const std::vector<std::string>& paths) {
  std::string refused = TakeTypingAndReach(w, field);
  if (!refused.empty()) return refused;
  const ControlDef& control = w.Control(field);
  if (control.dropId.find("~FILE") == std::string::npos) return "control " + control.equate + " does not take files";
  std::string joined;
  for (const auto& path : paths) joined += (joined.empty() ? "" : ",") + path;
  Post(w, EVENT::Drop, field, 0, joined);
  return {};
}

void Close(Window& w) {
  CurrentScreen().CommitEdit(w);  // the close box takes pending typing, as every action does
  PostMessageA(w.Frame(), WM_CLOSE, 0, 0);
}

std::string PressEnter(Window& w) {
  const int focused = static_cast<int>(w.PropNumber(0, PROP::Focus));
  if (w.IsField(focused) && w.Control(focused).kind == Kind::Button) return Press(w, focused);
  for (int field = 1; field <= w.Fields(); ++field) {
    if (w.Control(field).defaultButton) return Press(w, field);
  }
  return {};
}

void PressEscape(Window& w) {
  if (w.Def().modal) Close(w);
}

void Moved(Window& w, int x, int y) {
  w.NoteFromScreen(0, PROP::Xpos, std::to_string(x));
  w.NoteFromScreen(0, PROP::Ypos, std::to_string(y));
  Post(w, EVENT::Moved, 0);
}

void Resized(Window& w, int width, int height) {
  w.NoteFromScreen(0, PROP::Width, std::to_string(width));
  w.NoteFromScreen(0, PROP::Height, std::to_string(height));
  Post(w, EVENT::Sized, 0);
}

void Maximized(Window& w) {
  w.NoteFromScreen(0, PROP::Maximize, "1");
  w.NoteFromScreen(0, PROP::Iconize, "");
  Post(w, EVENT::Maximized, 0);
}

void Minimized(Window& w) {
  w.NoteFromScreen(0, PROP::Iconize, "1");
  Post(w, EVENT::Iconized, 0);
}

void Restored(Window& w) {
  w.NoteFromScreen(0, PROP::Maximize, "");
  w.NoteFromScreen(0, PROP::Iconize, "");
  Post(w, EVENT::Restored, 0);
}

void Focused(Window& w, int field) {
  if (!w.IsField(field) || w.PropNumber(0, PROP::Focus) == field) return;
  w.NoteFromScreen(0, PROP::Focus, std::to_string(field));
  Post(w, EVENT::Selected, field);
}

}  // namespace rt::user
