#include "app/cab_file_check.h"

#include <algorithm>
#include <span>

#include "app/sysex_templates.h"
#include "platform/midi/device_sysex.h"

namespace {
// F0, four header bytes, function, slot, and at least the closing F7.
constexpr std::size_t kShortestCabFile = 8;
// Far more than a cab file of the unit (about 11 KB) ever holds.
constexpr std::size_t kLargestCabFile = 1 << 20;

BYTE At(std::string_view bytes, std::size_t i) { return static_cast<BYTE>(bytes[i]); }

// One whole message for the unit, with its checksum right and nothing above 7Fh inside.
bool IsWholeUnitMessage(std::string_view message) {
  const auto data = std::span(reinterpret_cast<const BYTE*>(message.data()), message.size());
  if (!midi::IsSoundMessage(data)) return false;
  return std::all_of(data.begin() + 1, data.end() - 1, [](BYTE b) { return b < 0x80; });
}
}  // namespace

CabFileVerdict JudgeCabFile(bool loaded, std::string_view bytes) {
  if (!loaded || bytes.size() < kShortestCabFile) return CabFileVerdict::Invalid;
  if (At(bytes, 5) != sysex::FN_CAB_FILE) return CabFileVerdict::Invalid;
  if (At(bytes, 6) != sysex::CAB_FILE_ANY_SLOT) return CabFileVerdict::HardCodedSlot;
  // Anything else that merely begins like a cab file (another message, a file cut short)
  // would be sent to the unit whole.
  if (!IsWholeCabFile(bytes)) return CabFileVerdict::Invalid;
  return CabFileVerdict::Sendable;
}

bool IsWholeCabFile(std::string_view bytes) {
  if (bytes.empty() || bytes.size() > kLargestCabFile) return false;
  BYTE function = 0;
  for (std::size_t at = 0; at < bytes.size();) {
    // Nothing may follow the closing message.
    if (function == sysex::FN_CAB_FILE_END) return false;
    const std::size_t end = bytes.find('\xF7', at);
    if (end == std::string_view::npos) return false;
    const std::string_view message = bytes.substr(at, end + 1 - at);
    if (!IsWholeUnitMessage(message)) return false;
    function = At(message, midi::kFunctionAt);
    const bool fits = at == 0 ? function == sysex::FN_CAB_FILE
                              : function == sysex::FN_CAB_FILE_DATA || function == sysex::FN_CAB_FILE_END;
    if (!fits) return false;
    at = end + 1;
  }
  // A file of several messages cut off between two of them (half a download) lacks its closing
  // message; a lone start message is the one-message form of a cab file.
  return function == sysex::FN_CAB_FILE || function == sysex::FN_CAB_FILE_END;
}
