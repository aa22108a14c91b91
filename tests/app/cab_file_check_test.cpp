#include <gtest/gtest.h>

#include "app/cab_file_check.h"
#include "tests/app/sent_messages.h"

namespace {

TEST(CabFileCheck, JudgesByFunctionAndSlotByte) {
  using app_test::BytesFromHex;
  struct {
    const char* name;
    bool loaded;
    std::string bytes;
    CabFileVerdict verdict;
  } cases[] = {
      {"slotless cab file", true, BytesFromHex("F0 00 01 74 03 7A 7F 41 00 F7"), CabFileVerdict::Sendable},
      {"shortest slotless", true, BytesFromHex("F0 00 01 74 03 7A 7F F7"), CabFileVerdict::Sendable},
      {"hard-coded slot", true, BytesFromHex("F0 00 01 74 03 7A 05 41 00 F7"), CabFileVerdict::HardCodedSlot},
      {"other function", true, BytesFromHex("F0 00 01 74 03 12 7F 41 00 F7"), CabFileVerdict::Invalid},
      {"too short", true, BytesFromHex("F0 00 01 74 03 7A 7F"), CabFileVerdict::Invalid},
      {"empty", true, "", CabFileVerdict::Invalid},
      {"unreadable", false, BytesFromHex("F0 00 01 74 03 7A 7F 41 00 F7"), CabFileVerdict::Invalid},
  };
  for (const auto& c : cases) EXPECT_EQ(JudgeCabFile(c.loaded, c.bytes), c.verdict) << c.name;
}

}  // namespace
