// What the program sends the simulated unit, cab files above all, with a user slot selected.
// Rule: whatever arrives, and however it is cut, the unit keeps its cabs: the same count,
// factory names unchanged, every name at most 31 characters and none above 7Fh.
#include <cstdint>
#include <span>

#include "fuzz/fuzz_check.h"
#include "platform/midi/simulator/simulator.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const BYTE kSelectUserSlot[] = {0xF0, 0x00, 0x01, 0x74, 0x03, 0x02, 0x6C, 0x00,
                                         0x00, 0x00, 0x07, 0x01, 0x00, 0x01, 0x6F, 0xF7};
  midi::Simulator unit;
  const int cabs = unit.CabCount();
  const int factory = unit.FactoryCabCount();
  unit.Receive(kSelectUserSlot);
  FUZZ_CHECK(unit.Block(midi::Simulator::kCab1).x.leftCab == 135);

  const std::span<const BYTE> bytes(data, size);
  const std::size_t cut = size > 0 ? data[0] % (size + 1) : 0;
  unit.Receive(bytes.first(cut));
  unit.Receive(bytes.subspan(cut));

  FUZZ_CHECK(unit.CabCount() == cabs);
  const auto names = midi::DefaultFactoryCabNames();
  for (int i = 0; i < cabs; ++i) {
    const std::string name = unit.CabName(i);
    if (i < factory) FUZZ_CHECK(name == names[static_cast<std::size_t>(i)]);
    FUZZ_CHECK(name.size() <= 31);
    for (char c : name) FUZZ_CHECK(static_cast<unsigned char>(c) <= 0x7F);
  }
  return 0;
}
