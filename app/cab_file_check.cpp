#include "app/cab_file_check.h"

#include "app/sysex_templates.h"

namespace {
// F0, four header bytes, function, slot, and at least the closing F7.
constexpr std::size_t kShortestCabFile = 8;
}  // namespace

CabFileVerdict JudgeCabFile(bool loaded, std::string_view bytes) {
  if (!loaded || bytes.size() < kShortestCabFile) return CabFileVerdict::Invalid;
  if (static_cast<unsigned char>(bytes[5]) != sysex::FN_CAB_FILE) return CabFileVerdict::Invalid;
  if (static_cast<unsigned char>(bytes[6]) != sysex::CAB_FILE_ANY_SLOT) return CabFileVerdict::HardCodedSlot;
  return CabFileVerdict::Sendable;
}
