#pragma once
// Byte strings written as hex for readable expectations.
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "platform/win/types.h"

namespace midi_test {

inline std::vector<BYTE> Bytes(const std::string& hex) {
  std::vector<BYTE> out;
  std::istringstream in(hex);
  std::string word;
  while (in >> word) out.push_back(static_cast<BYTE>(std::stoul(word, nullptr, 16)));
  return out;
}

inline std::string Hex(const std::vector<BYTE>& bytes) {
  std::string out;
  char buf[4];
  for (BYTE b : bytes) {
    std::snprintf(buf, sizeof buf, out.empty() ? "%02X" : " %02X", b);
    out += buf;
  }
  return out;
}

}  // namespace midi_test
