// Textrope's URL coding on any bytes.
// Rules: decoding gives back what encoding was given, with any delimiter and space character
// that leave escapes and blanks apart; decoding any text never faults or grows the text.
#include <cctype>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_input.h"
#include "textrope/textrope.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Input input(data, size);
  const LONG flags = static_cast<LONG>(input.Byte()) & 0x33;
  const std::string delimiter = input.Byte() & 1 ? std::string(1, static_cast<char>(input.Byte())) : std::string();
  const std::string space = input.Byte() & 1 ? std::string(1, static_cast<char>(input.Byte())) : std::string();
  const std::string bytes = input.Rest();

  // Blanks kept as they are (flags 1 or 2, unless a blank is the space character or the
  // delimiter, which are always escaped) lose those at the very end; a space character that
  // is a hexadecimal digit or the delimiter would be read inside an escape.
  const char usedDelimiter = delimiter.empty() ? '%' : delimiter[0];
  const char usedSpace = space.empty() ? '+' : space[0];
  const bool blanksKept = (flags & 0x03) != 0 && usedSpace != ' ' && usedDelimiter != ' ';
  const bool roundTrips = !std::isxdigit(static_cast<unsigned char>(usedSpace)) && usedSpace != usedDelimiter;
  std::string expected = bytes;
  while (blanksKept && expected.ends_with(' ')) expected.pop_back();

  Textrope t;
  t.value = bytes;
  t.UrlEncode(flags, delimiter, space);
  t.UrlDecode(delimiter, space);
  if (roundTrips) FUZZ_CHECK(t.value == expected, "got [" + fuzz::Shown(t.value) + "]");

  Textrope any;
  any.value = bytes;
  any.UrlDecode(delimiter, space);
  FUZZ_CHECK(any.value.size() <= bytes.size());
  return 0;
}
