#pragma once
// Byte lists written as hex for readable expectations.
#include <string>
#include <vector>

#include "platform/win/types.h"
#include "tests/support/hex_text.h"

namespace midi_test {

inline std::vector<BYTE> Bytes(const std::string& hex) {
  const std::string bytes = test_support::BytesFromHex(hex);
  return {bytes.begin(), bytes.end()};
}

inline std::string Hex(const std::vector<BYTE>& bytes) {
  return test_support::HexBytes({reinterpret_cast<const char*>(bytes.data()), bytes.size()});
}

}  // namespace midi_test
