// Textrope's hexadecimal and number-base conversions on any text.
// Rules: bytes come back from their hexadecimal text in either case; any text converts
// without fault; a number written in a base reads back as itself.
#include <cstdint>
#include <string>

#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_input.h"
#include "textrope/textrope.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Input input(data, size);
  const LONG upper = input.Byte() & 1;
  const LONG base = 2 + static_cast<LONG>(input.Below(15));
  const auto number = static_cast<LONG>(input.Word());
  const std::string bytes = input.Rest();

  Textrope t;
  t.value = bytes;
  t.ToHex(upper);
  FUZZ_CHECK(t.value.size() == 2 * bytes.size());
  t.FromHex();
  FUZZ_CHECK(t.value == bytes);
  if (auto hex = t.StringToHex(bytes, static_cast<LONG>(bytes.size()), upper)) {
    FUZZ_CHECK(t.HexToString(*hex) == bytes);
  } else {
    FUZZ_CHECK(bytes.empty());
  }

  // Any text: no fault, and an odd last character is ignored.
  if (auto spelled = t.HexToString(bytes)) FUZZ_CHECK(spelled->size() == bytes.size() / 2);
  t.BaseToDec(bytes, base);
  t.HexToByte(bytes);
  t.ColorFromHex(bytes);

  if (number > 0) FUZZ_CHECK(t.BaseToDec(t.DecToBase(number, base, upper), base) == number);
  FUZZ_CHECK(t.BaseToDec(t.LongToHex(number), 16) == number);
  return 0;
}
