#pragma once
// What a cab name must be to travel in a rename message: 1 to 31 characters, each a
// printable 7-bit character (20h-7Eh), since every data byte of a system-exclusive
// message must stay below 80h.
#include <string_view>

inline constexpr int CAB_NAME_MAX = 31;

constexpr bool IsCabNameCharacter(char c) { return c >= 0x20 && c <= 0x7E; }

constexpr bool IsSendableCabName(std::string_view name) {
  if (name.empty() || name.size() > CAB_NAME_MAX) return false;
  for (char c : name)
    if (!IsCabNameCharacter(c)) return false;
  return true;
}
