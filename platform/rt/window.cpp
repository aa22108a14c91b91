#include "platform/rt/window.h"

#include <algorithm>
#include <climits>

#include "platform/rt/control_kind.h"
#include "platform/rt/props.h"
#include "platform/rt/screen.h"
#include "platform/win/system/ascii_text.h"

namespace rt {
namespace {

bool SameEquate(std::string_view a, std::string_view b) {
  if (!a.empty() && a[0] == '?') a.remove_prefix(1);
  if (!b.empty() && b[0] == '?') b.remove_prefix(1);
  return win::EqualNoCase(a, b);
}

std::string Flag(bool on) { return on ? "1" : ""; }

bool IsList(Kind kind) { return kind == Kind::List || kind == Kind::Combo; }

bool ShowsItsText(const ControlDef& control) {
  const bool text = control.kind == Kind::String || control.kind == Kind::SString || control.kind == Kind::Prompt;
  return text && !control.use.Bound();
}

}  // namespace

Window::Window(const WindowDef& def, HWND frame, HWND client, LONG thread)
    : def_(def), frame_(frame), client_(client), thread_(thread), controls_(def.controls.size()) {
  windowProps_[{PROP::Text, 0}] = def.caption;
  windowProps_[{PROP::Xpos, 0}] = std::to_string(def.at.x);
  windowProps_[{PROP::Ypos, 0}] = std::to_string(def.at.y);
  windowProps_[{PROP::Width, 0}] = std::to_string(def.at.width);
  windowProps_[{PROP::Height, 0}] = std::to_string(def.at.height);
  windowProps_[{PROP::Icon, 0}] = def.icon;
  windowProps_[{PROP::Wallpaper, 0}] = def.wallpaper;
  windowProps_[{PROP::FontName, 0}] = def.font.name;
  windowProps_[{PROP::FontSize, 0}] = std::to_string(def.font.size);
  windowProps_[{PROP::Timer, 0}] = std::to_string(def.timer);
  windowProps_[{PROP::Hide, 0}] = Flag(def.hidden);
  restored_ = def.at;
  for (int field = 1; field <= Fields(); ++field) {
    const ControlDef& control = Control(field);
    auto& props = State(field).props;
    props[{PROP::Text, 0}] = control.text;
    props[{PROP::Xpos, 0}] = std::to_string(control.at.x);
    props[{PROP::Ypos, 0}] = std::to_string(control.at.y);
    props[{PROP::Width, 0}] = std::to_string(control.at.width);
    props[{PROP::Height, 0}] = std::to_string(control.at.height);
    props[{PROP::Hide, 0}] = Flag(control.hidden);
    props[{PROP::Disable, 0}] = Flag(control.disabled);
    props[{PROP::Icon, 0}] = control.icon;
    props[{PROP::Format, 0}] = control.format;
    if (!control.font.name.empty()) props[{PROP::FontName, 0}] = control.font.name;
    for (std::size_t slot = 0; slot < control.alerts.size(); ++slot) {
      props[{PROP::Alrt, static_cast<int>(slot + 1)}] = std::to_string(control.alerts[slot]);
    }
    State(field).arrangement.Reset(ParseListFormat(control.format));
    if (control.kind == Kind::Sheet && !Children(field).empty()) State(field).choice = 1;
  }
}

const ControlDef& Window::Control(int field) const {
  if (field >= 1 && field <= Fields()) return def_.controls[static_cast<std::size_t>(field - 1)];
  return created_.at(field).def;
}

Window::ControlState& Window::State(int field) {
  if (field >= 1 && field <= Fields()) return controls_[static_cast<std::size_t>(field - 1)];
  return created_.at(field).state;
}

const Window::ControlState& Window::State(int field) const {
  if (field >= 1 && field <= Fields()) return controls_[static_cast<std::size_t>(field - 1)];
  return created_.at(field).state;
}

std::vector<int> Window::AllFields() const {
  std::vector<int> fields;
  fields.reserve(static_cast<std::size_t>(Fields()) + created_.size());
  for (int field = 1; field <= Fields(); ++field) fields.push_back(field);
  for (const auto& [field, control] : created_) fields.push_back(field);
  return fields;
}

bool Window::CreateControl(int field, Kind kind, int parent) {
  if (field <= Fields() || created_.count(field) > 0 || !IsKindAnnounced(kind)) return false;
  if (parent != 0 && !IsField(parent)) return false;
  CreatedControl& control = created_[field];
  control.def.feq = field;
  control.def.kind = kind;
  control.def.parent = parent;
  for (int prop : {PROP::Xpos, PROP::Ypos, PROP::Width, PROP::Height}) control.state.props[{prop, 0}] = "0";
  if (shown_) CurrentScreen().ControlCreated(*this, field);
  return true;
}

int Window::FieldOf(std::string_view equate) const {
  for (int field = 1; field <= Fields(); ++field) {
    if (SameEquate(Control(field).equate, equate)) return field;
  }
  return 0;
}

std::vector<int> Window::Children(int field) const {
  std::vector<int> children;
  for (int child : AllFields()) {
    if (Control(child).parent == field) children.push_back(child);
  }
  return children;
}

const std::map<std::pair<int, int>, std::string>& Window::PropsOf(int field) const {
  return field == 0 ? windowProps_ : State(field).props;
}

std::string Window::Prop(int field, int prop, int index) const {
  if (field != 0 && !IsField(field)) return {};
  switch (prop) {
    case PROP::Handle: return field == 0 ? std::to_string(reinterpret_cast<std::uintptr_t>(frame_)) : "0";
    case PROP::ClientHandle: return field == 0 ? std::to_string(reinterpret_cast<std::uintptr_t>(client_)) : "0";
    case PROP::Type: return field == 0 ? "" : std::to_string(static_cast<int>(Control(field).kind));
    case PROP::Parent: return field == 0 ? "0" : std::to_string(Control(field).parent);
    case PROP::Selected: return field == 0 ? "0" : std::to_string(Choice(field));
    case PROP::ScreenText:
      if (field == 0) return "";
      // A string or prompt without a variable shows its own text.
      if (ShowsItsText(Control(field))) return Prop(field, PROP::Text);
      return ScreenValue(field);
    case PROP::Items: return field == 0 ? "0" : std::to_string(ListRecords(field));
    case PROP::Visible: return Flag(field == 0 ? windowProps_.at({PROP::Hide, 0}).empty() : IsVisible(field));
    case PROP::Enabled: return Flag(field == 0 || IsEnabled(field));
    case PROP::MouseMoveRow: return std::to_string(field != 0 && pointer_.list == field ? pointer_.row : 0);
    case PROP::MouseMoveField: return std::to_string(field != 0 && pointer_.list == field ? pointer_.column : 0);
    case PROP::MouseMoveZone: return std::to_string(field != 0 && pointer_.list == field ? pointer_.zone : LISTZONE::Nowhere);
    case PROP::ColumnExists:
      return Flag(field != 0 && index >= 1 && index <= static_cast<int>(ListColumns(field).size()));
    case PROP::ColumnFormat:
      if (field == 0 || index < 1 || index > static_cast<int>(ListColumns(field).size())) return {};
      return ListColumns(field)[static_cast<std::size_t>(index - 1)].text;
    case PROP::ColumnStyle: return std::to_string(field == 0 ? 0 : State(field).arrangement.ColumnStyle(index));
    case PROP::Format:
      if (field != 0) return JoinListFormat(ListColumns(field)) + UnreadFormat(field);
      break;
    default: break;
  }
  const auto& props = PropsOf(field);
  auto it = props.find({prop, index});
  if (it != props.end()) return it->second;
  // The font as defined until the program changes it, so a saved colour or style can be
  // given back.
  const Font& font = field == 0 ? def_.font : Control(field).font;
  if (prop == PROP::FontColor) return std::to_string(font.color);
  if (prop == PROP::FontStyle) return std::to_string(font.style);
  return {};
}

long long Window::PropNumber(int field, int prop, int index) const {
  return TextToNumber(Prop(field, prop, index));
}

void Window::SetProp(int field, int prop, std::string_view value, int index) {
  if (field != 0 && !IsField(field)) return;
  switch (prop) {
    case PROP::Handle:
    case PROP::ClientHandle:
    case PROP::Type:
    case PROP::Parent:
    case PROP::Items:
    case PROP::Visible:
    case PROP::Enabled:
    case PROP::MouseMoveRow:
    case PROP::MouseMoveField:
    case PROP::MouseMoveZone:
    case PROP::ColumnExists:
    case PROP::ColumnFormat:
      return;  // read only
    case PROP::ColumnStyle:
      if (field == 0) return;
      State(field).arrangement.SetColumnStyle(index, static_cast<int>(TextToNumber(value)));
      Notify(field, prop, index);
      return;
    case PROP::Selected:
      if (field != 0) SetChoice(field, static_cast<int>(TextToNumber(value)));
      return;
    case PROP::ScreenText:
      if (field != 0) SetScreenValue(field, value);
      return;
    case PROP::Hide:
    case PROP::Disable:
    case PROP::Maximize:
    case PROP::Iconize:
    case PROP::Imm:
    case PROP::AcceptAll:
    case PROP::Pixels: {
      // Flags read "1" or "": any non-zero number turns them on.
      std::string flag = Flag(TextToNumber(value) != 0);
      (field == 0 ? windowProps_ : State(field).props)[{prop, index}] = flag;
      Notify(field, prop, index);
      return;
    }
    case PROP::Timer:
      if (field != 0) break;
      windowProps_[{prop, 0}] = std::to_string(std::max<long long>(0, TextToNumber(value)));
      timerDue_ = 0;  // the event loop restarts the count
      Notify(0, prop, 0);
      return;
    case PROP::Format:
      if (field != 0) State(field).arrangement.Reset(ParseListFormat(value));
      break;
    default:
      break;
  }
  (field == 0 ? windowProps_ : State(field).props)[{prop, index}] = std::string(value);
  KeepRestored(field, prop);
  Notify(field, prop, index);
}

void Window::SetProp(int field, int prop, long long value, int index) { SetProp(field, prop, std::to_string(value), index); }

void Window::NoteFromScreen(int field, int prop, std::string_view value, int index) {
  if (field != 0 && !IsField(field)) return;
  (field == 0 ? windowProps_ : State(field).props)[{prop, index}] = std::string(value);
  KeepRestored(field, prop);
}

// A maximised or minimised window's place and size are the desktop's, not the user's.
void Window::KeepRestored(int field, int prop) {
  if (field != 0 || !Prop(0, PROP::Maximize).empty() || !Prop(0, PROP::Iconize).empty()) return;
  const int value = static_cast<int>(std::clamp<long long>(PropNumber(0, prop), INT_MIN, INT_MAX));
  switch (prop) {
    case PROP::Xpos: restored_.x = value; break;
    case PROP::Ypos: restored_.y = value; break;
    case PROP::Width: restored_.width = value; break;
    case PROP::Height: restored_.height = value; break;
    default: break;
  }
}

std::string Window::ScreenValue(int field) const { return IsField(field) ? State(field).screen : std::string(); }

void Window::SetScreenValue(int field, std::string_view text) {
  if (!IsField(field)) return;
  const ControlDef& control = Control(field);
  std::string value(text);
  if (control.chars > 0 && value.size() > static_cast<std::size_t>(control.chars)) value.resize(static_cast<std::size_t>(control.chars));
  State(field).screen = value;
  if (control.kind == Kind::Option) ChooseRadioOf(field);
  Notify(field, PROP::ScreenText, 0);
}

void Window::ChooseRadioOf(int option) {
  int choice = 0;
  int position = 0;
  for (int radio : Children(option)) {
    if (Control(radio).kind != Kind::Radio) continue;
    ++position;
    if (choice == 0 && Control(radio).value == State(option).screen) choice = position;
  }
  State(option).choice = choice;
}

int Window::Choice(int field) const { return IsField(field) ? State(field).choice : 0; }

void Window::SetChoice(int field, int choice) {
  if (!IsField(field)) return;
  const ControlDef& control = Control(field);
  ControlState& state = State(field);
  if (IsList(control.kind)) {
    long long records = static_cast<long long>(ListRecords(field));
    state.choice = choice < 0 || choice > records ? 0 : choice;
    // A drop list shows the chosen row's first cell as its value.
    if (control.drop) {
      std::vector<std::string> cells = state.choice > 0 ? control.from->Cells(static_cast<std::size_t>(state.choice))
                                                        : std::vector<std::string>{};
      state.screen = cells.empty() ? std::string() : cells.front();
    }
  } else if (control.kind == Kind::Option) {
    std::vector<int> radios;
    for (int child : Children(field)) {
      if (Control(child).kind == Kind::Radio) radios.push_back(child);
    }
    if (choice < 1 || choice > static_cast<int>(radios.size())) return;
    state.choice = choice;
    state.screen = Control(radios[static_cast<std::size_t>(choice - 1)]).value;
  } else if (control.kind == Kind::Sheet) {
    if (choice < 1 || choice > static_cast<int>(Children(field).size())) return;
    state.choice = choice;
  } else {
    state.choice = choice;
  }
  Notify(field, PROP::Selected, 0);
}

bool Window::IsVisible(int field) const {
  for (int guard = 0; IsField(field) && guard <= Fields(); ++guard) {
    if (!Prop(field, PROP::Hide).empty()) return false;
    int parent = Control(field).parent;
    // A tab's controls are out of sight while another tab of the sheet is chosen (the tab
    // itself, its title, stays in sight).
    if (guard > 0 && Control(field).kind == Kind::Tab && IsField(parent)) {
      std::vector<int> tabs = Children(parent);
      int chosen = Choice(parent);
      if (chosen < 1 || chosen > static_cast<int>(tabs.size()) || tabs[static_cast<std::size_t>(chosen - 1)] != field) return false;
    }
    field = parent;
  }
  return windowProps_.at({PROP::Hide, 0}).empty();
}

bool Window::IsEnabled(int field) const {
  for (int guard = 0; IsField(field) && guard <= Fields(); ++guard) {
    if (!Prop(field, PROP::Disable).empty()) return false;
    field = Control(field).parent;
  }
  return true;
}

const std::vector<ListColumn>& Window::ListColumns(int field) const { return State(field).arrangement.Columns(); }

// What follows the last column that could be read: kept as the program wrote it.
std::string Window::UnreadFormat(int field) const {
  const std::string& format = PropsOf(field).count({PROP::Format, 0}) ? PropsOf(field).at({PROP::Format, 0}) : std::string();
  const std::size_t read = JoinListFormat(ListColumns(field)).size();
  return read < format.size() ? format.substr(read) : std::string();
}

int Window::CellStyle(int field, std::size_t row, int column) const {
  return IsField(field) ? State(field).arrangement.StyleOfCell(row, column) : 0;
}

void Window::SetCellStyle(int field, std::size_t row, int column, int style) {
  if (!IsField(field)) return;
  State(field).arrangement.SetStyleOfCell(row, column, style);
  Notify(field, PROP::CellStyle, column);
}

bool Window::MoveColumn(int field, int from, int to) {
  if (!IsField(field) || !State(field).arrangement.Move(from, to)) return false;
  Notify(field, PROP::Format, 0);
  return true;
}

bool Window::Alerts(int field, int key) const {
  if (!IsField(field)) return false;
  const auto& props = PropsOf(field);
  for (auto it = props.lower_bound({PROP::Alrt, 1}); it != props.end() && it->first.first == PROP::Alrt; ++it) {
    if (it->first.second <= 255 && !it->second.empty() && TextToNumber(it->second) == key) return true;
  }
  return false;
}

void Window::NotePointer(const Pointer& pointer, int hovered) {
  pointer_ = pointer;
  hovered_ = hovered;
}

std::size_t Window::ListRecords(int field) const {
  if (!IsField(field) || !Control(field).from) return 0;
  return Control(field).from->Records();
}

std::vector<std::string> Window::ListRow(int field, std::size_t row) const {
  if (row < 1 || row > ListRecords(field)) return {};
  std::vector<std::string> cells = State(field).arrangement.Arrange(Control(field).from->Cells(row));
  const auto& columns = ListColumns(field);
  for (std::size_t i = 0; i < cells.size() && i < columns.size(); ++i) cells[i] = FormatPicture(cells[i], columns[i].picture);
  return cells;
}

void Window::Display(int field) {
  for (int each : AllFields()) {
    if (field != 0 && each != field) continue;
    const ControlDef& control = Control(each);
    ControlState& state = State(each);
    if (control.from) {
      state.listVersion = control.from->Version();
      if (state.choice > static_cast<int>(ListRecords(each))) state.choice = 0;
      if (shown_) CurrentScreen().ListChanged(*this, each);
    }
    if (control.use.Bound() && !(IsList(control.kind) && !control.drop)) {
      std::string value = control.use.Get();
      if (control.kind == Kind::String || control.kind == Kind::Entry || control.kind == Kind::Spin) {
        value = FormatPicture(value, control.picture);
      }
      SetScreenValue(each, value);
    }
  }
}

void Window::Update(int field) {
  for (int each : AllFields()) {
    if (field != 0 && each != field) continue;
    const ControlDef& control = Control(each);
    if (control.use.Bound() && !control.readOnly && control.UserEditsValue()) control.use.Set(State(each).screen);
  }
}

void Window::Notify(int field, int prop, int index) {
  if (shown_) CurrentScreen().PropertyChanged(*this, field, prop, index);
}

}  // namespace rt
