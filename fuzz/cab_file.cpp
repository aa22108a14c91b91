// A file dropped on the lists, as the upload reads and judges it.
// Rule: a file of at least 8 bytes with function 7Ah (byte 6, counting from 1) is refused as
// naming its slot unless byte 7 is 7Fh; then it is sent only when it holds at most 1 MiB of
// nothing but whole messages F0 00 01 74 03 <function> ... <checksum> F7 (no byte above 7Fh
// between F0 and F7, checksum the XOR of every byte before it AND 7Fh), the first with
// function 7Ah, every other with 7Bh or 7Ch, and a 7Ch only as the last of several (a lone
// 7Ah is a whole file too). Anything else is invalid. The reference
// below walks the bytes one by one rather than message by message.
#include <cstdint>
#include <string>

#include "app/cab_file_check.h"
#include "fuzz/fuzz_check.h"

namespace {

bool ReferenceWholeCabFile(const std::string& bytes) {
  static const unsigned char kHeader[] = {0xF0, 0x00, 0x01, 0x74, 0x03};
  if (bytes.empty() || bytes.size() > (1u << 20)) return false;
  std::size_t inMessage = 0;  // bytes of the current message so far; 0 between messages
  std::size_t messages = 0;
  unsigned sum = 0;
  unsigned previous = 0;
  unsigned function = 0;      // of the current message
  unsigned lastFunction = 0;  // of the last whole message
  for (unsigned char b : bytes) {
    if (lastFunction == 0x7C) return false;
    if (inMessage < sizeof kHeader) {
      if (b != kHeader[inMessage]) return false;
    } else if (inMessage == sizeof kHeader) {
      const bool fits = messages == 0 ? b == 0x7A : b == 0x7B || b == 0x7C;
      if (!fits) return false;
      function = b;
    } else if (b == 0xF7) {
      // `previous` is the checksum; `sum` already took it in.
      if (inMessage < 7 || ((sum ^ previous) & 0x7F) != previous) return false;
      ++messages;
      lastFunction = function;
      inMessage = 0;
      sum = 0;
      continue;
    } else if (b >= 0x80) {
      return false;
    }
    sum ^= b;
    previous = b;
    ++inMessage;
  }
  return inMessage == 0 && (messages == 1 || lastFunction == 0x7C);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const bool cabFunction = bytes.size() >= 8 && bytes[5] == '\x7A';
  const CabFileVerdict expected = !cabFunction                   ? CabFileVerdict::Invalid
                                  : bytes[6] != '\x7F'           ? CabFileVerdict::HardCodedSlot
                                  : ReferenceWholeCabFile(bytes) ? CabFileVerdict::Sendable
                                                                 : CabFileVerdict::Invalid;
  FUZZ_CHECK(JudgeCabFile(true, bytes) == expected);
  FUZZ_CHECK(JudgeCabFile(false, bytes) == CabFileVerdict::Invalid);
  FUZZ_CHECK(IsWholeCabFile(bytes) == ReferenceWholeCabFile(bytes));
  return 0;
}
