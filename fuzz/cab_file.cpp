// A file dropped on the lists, as the upload reads and judges it.
// Rule: only a file of at least 8 bytes, function 7Ah (byte 6, counting from 1), without a
// slot of its own (byte 7 is 7Fh) is sent; one that names its slot is refused as such;
// anything else is invalid.
#include <cstdint>
#include <string>

#include "app/cab_file_check.h"
#include "fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const bool cabFunction = bytes.size() >= 8 && bytes[5] == '\x7A';
  const CabFileVerdict expected = !cabFunction         ? CabFileVerdict::Invalid
                                  : bytes[6] == '\x7F' ? CabFileVerdict::Sendable
                                                       : CabFileVerdict::HardCodedSlot;
  FUZZ_CHECK(JudgeCabFile(true, bytes) == expected);
  FUZZ_CHECK(JudgeCabFile(false, bytes) == CabFileVerdict::Invalid);
  return 0;
}
