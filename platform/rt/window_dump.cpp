#include "platform/rt/window_dump.h"

#include <utility>

#include "platform/rt/json_text.h"
#include "platform/rt/props.h"

namespace rt {
namespace {

// Editable controls show their screen value; the others theirs when bound to a variable.
bool ShowsValue(const ControlDef& control) {
  return control.UserEditsValue() || (control.kind != Kind::List && control.use.Bound());
}

bool HasRows(const ControlDef& control) { return control.kind == Kind::List || control.kind == Kind::Combo; }

bool HasChoice(const ControlDef& control) {
  return HasRows(control) || control.kind == Kind::Option || control.kind == Kind::Sheet;
}

}  // namespace

std::string DumpWindow(const Window& window) {
  std::vector<std::pair<std::string, std::string>> controls;
  for (int field = 1; field <= window.Fields(); ++field) {
    const ControlDef& control = window.Control(field);
    if (control.equate.empty()) continue;
    std::vector<std::pair<std::string, std::string>> members;
    members.emplace_back("text", json::Quote(window.Prop(field, PROP::Text)));
    if (ShowsValue(control)) members.emplace_back("value", json::Quote(window.ScreenValue(field)));
    members.emplace_back("hidden", window.IsVisible(field) ? "false" : "true");
    if (!window.IsEnabled(field)) members.emplace_back("disabled", "true");
    if (HasRows(control)) {
      std::string rows = "[";
      for (std::size_t row = 1; row <= window.ListRecords(field); ++row) {
        rows += (row > 1 ? ", " : "") + json::Array(window.ListRow(field, row));
      }
      members.emplace_back("rows", rows + "]");
    }
    if (HasChoice(control)) members.emplace_back("selected", std::to_string(window.Choice(field)));
    controls.emplace_back(control.equate, json::Object(members));
  }
  return json::Object(controls);
}

std::string DumpWindows(const std::vector<Window*>& windows) {
  std::vector<std::pair<std::string, std::string>> members;
  for (const Window* window : windows) {
    if (!window->Def().hidden) members.emplace_back(window->Prop(0, PROP::Text), DumpWindow(*window));
  }
  return json::Object(members);
}

}  // namespace rt
