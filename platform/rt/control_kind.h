#pragma once
// Control kinds, numbered as the runtime's window builder numbers them. A module announces
// at start-up the kinds its windows use; a window holding a kind nobody announced fails to open.
#include <initializer_list>
#include <string_view>

namespace rt {

enum class Kind : int {
  SString = 1,
  String = 2,
  Image = 3,
  Region = 4,
  Line = 5,
  Box = 6,
  Ellipse = 7,
  Entry = 8,
  Button = 9,
  Prompt = 10,
  Option = 11,
  Check = 12,
  Group = 13,
  List = 14,
  Combo = 15,
  Spin = 16,
  Text = 17,
  Item = 20,
  Radio = 21,
  Sheet = 26,
  Tab = 27,
};

void AnnounceControlKinds(std::initializer_list<Kind> kinds);
bool IsKindAnnounced(Kind kind);
std::string_view KindName(Kind kind);

}  // namespace rt
