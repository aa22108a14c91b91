#pragma once
// Inside the runtime: why a user could not act on a control, shared by the user actions.
#include <string>
#include <string_view>

#include "platform/rt/window.h"

namespace rt::user::detail {

// The control's equate, or its number for a control created without one.
std::string ControlName(const Window& window, int field);
// "" when a user can reach the control: the window is on top, the control shown and enabled.
std::string Reachable(Window& window, int field);
// The start of every action that acts on the values: pending typing in the window goes in
// first, as a change of focus would take it, then Reachable.
std::string TakeTypingAndReach(Window& window, int field);
std::string WrongKind(const Window& window, int field, std::string_view action);

}  // namespace rt::user::detail
