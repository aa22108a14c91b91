#pragma once
// What a cab name must be to travel in a rename message: 1 to 31 characters, each a
// printable 7-bit character (20h-7Eh), since every data byte of a system-exclusive
// message must stay below 80h.
#include <string_view>

inline constexpr int CAB_NAME_MAX = 31;
inline constexpr char CAB_NAME_FIRST_CHARACTER = 0x20;
inline constexpr char CAB_NAME_LAST_CHARACTER = 0x7E;

constexpr bool IsCabNameCharacter(char c) { return c >= CAB_NAME_FIRST_CHARACTER && c <= CAB_NAME_LAST_CHARACTER; }

constexpr bool IsSendableCabName(std::string_view name) {
  if (name.empty() || name.size() > CAB_NAME_MAX) return false;
  for (char c : name)
    if (!IsCabNameCharacter(c)) return false;
  return true;
}
