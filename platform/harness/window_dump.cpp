#include "platform/harness/window_dump.h"

#include <utility>

#include "platform/harness/json_text.h"
#include "platform/rt/props.h"

namespace harness {

// The harness drives the runtime from outside, through its own calls.
using namespace rt;
namespace {

// Editable controls show their screen value; the others theirs when bound to a variable.
bool ShowsValue(const ControlDef& control) {
  return control.UserEditsValue() || (control.kind != Kind::List && control.use.Bound());
}

bool HasRows(const ControlDef& control) { return control.kind == Kind::List || control.kind == Kind::Combo; }

bool HasChoice(const ControlDef& control) {
  return HasRows(control) || control.kind == Kind::Option || control.kind == Kind::Sheet;
}

// Font colour, font style and cursor, each only when it is not the default.
void AddLook(const Window& window, int field, std::vector<std::pair<std::string, std::string>>& members) {
  if (const long long colour = window.PropNumber(field, PROP::FontColor); colour != -1) {
    members.emplace_back("fontColor", std::to_string(colour));
  }
  if (const long long style = window.PropNumber(field, PROP::FontStyle); style != 0) {
    members.emplace_back("fontStyle", std::to_string(style));
  }
  if (const std::string cursor = window.Prop(field, PROP::Cursor); !cursor.empty()) members.emplace_back("cursor", json::Quote(cursor));
}

// The columns' order when the user moved them (each position's column as the format gave
// it), and the cells given a style, as [row, column, style].
void AddArrangement(const Window& window, int field, std::vector<std::pair<std::string, std::string>>& members) {
  const ListArrangement& arrangement = window.Arrangement(field);
  if (arrangement.Moved()) {
    std::string order;
    for (int source : arrangement.Order()) order += (order.empty() ? "" : ", ") + std::to_string(source);
    members.emplace_back("columnOrder", "[" + order + "]");
  }
  const std::vector<StyledCell> styled = arrangement.CellStyles();
  if (styled.empty()) return;
  std::string cells;
  for (const StyledCell& cell : styled) {
    cells += (cells.empty() ? "[" : ", [") + std::to_string(cell.row) + ", " + std::to_string(cell.column) + ", " +
             std::to_string(cell.style) + "]";
  }
  members.emplace_back("cellStyles", "[" + cells + "]");
}

std::string DumpWindow(const Window& window) {
  std::vector<std::pair<std::string, std::string>> controls;
  for (int field : window.AllFields()) {
    const ControlDef& control = window.Control(field);
    // Controls created while the window is open have no equate: they go by their number.
    const bool created = field > window.Fields();
    if (control.equate.empty() && !created) continue;
    std::vector<std::pair<std::string, std::string>> members;
    members.emplace_back("text", json::Quote(window.Prop(field, PROP::Text)));
    if (ShowsValue(control)) members.emplace_back("value", json::Quote(window.ScreenValue(field)));
    members.emplace_back("hidden", window.IsVisible(field) ? "false" : "true");
    if (!window.IsEnabled(field)) members.emplace_back("disabled", "true");
    AddLook(window, field, members);
    if (HasRows(control)) {
      std::string rows = "[";
      for (std::size_t row = 1; row <= window.ListRecords(field); ++row) {
        rows += (row > 1 ? ", " : "") + json::Array(window.ListRow(field, row));
      }
      members.emplace_back("rows", rows + "]");
      AddArrangement(window, field, members);
    }
    if (HasChoice(control)) members.emplace_back("selected", std::to_string(window.Choice(field)));
    controls.emplace_back(created ? std::to_string(field) : control.equate, json::Object(members));
  }
  return json::Object(controls);
}

}  // namespace

std::string DumpWindows(const std::vector<Window*>& windows) {
  std::vector<std::pair<std::string, std::string>> members;
  for (const Window* window : windows) {
    if (!window->Def().hidden) members.emplace_back(window->Prop(0, PROP::Text), DumpWindow(*window));
  }
  return json::Object(members);
}

}  // namespace harness
