#include "platform/rt/user_refusals.h"

#include "platform/rt/screen.h"
#include "platform/rt/user_action.h"

namespace rt::user::detail {

std::string ControlName(const Window& w, int field) {
  const std::string& equate = w.Control(field).equate;
  return equate.empty() ? std::to_string(field) : equate;
}

std::string Reachable(Window& w, int field) {
  if (ActiveWindow() != &w) return "window \"" + w.Def().caption + "\" is beneath another window";
  if (!w.IsField(field)) return "no such control";
  if (!w.IsVisible(field)) return "control " + ControlName(w, field) + " is hidden";
  if (!w.IsEnabled(field)) return "control " + ControlName(w, field) + " is disabled";
  return {};
}

std::string TakeTypingAndReach(Window& w, int field) {
  CurrentScreen().CommitEdit(w);
  return Reachable(w, field);
}

std::string WrongKind(const Window& w, int field, std::string_view action) {
  return "control " + ControlName(w, field) + " (" + std::string(KindName(w.Control(field).kind)) + ") cannot be " +
         std::string(action);
}

}  // namespace rt::user::detail
