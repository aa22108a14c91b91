// Textrope's Replace on any value, search and replacement texts, window, limit and options.
// Rules: a replacement that changes the length agrees, in the value and the count, with
// counting the matches first and copying them into a block of exactly the result's size, pass
// after pass.
#include <cstdint>
#include <string>

#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_input.h"
#include "tests/textrope/reference_replace.h"
#include "textrope/textrope.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Input input(data, size);
  const std::string oldText = input.Text();
  std::string newText = input.Text();
  // The reference knows replacements that change the length; one of equal length is a single
  // pass over the value in place, whatever the recursion flag says.
  if (newText.size() == oldText.size()) newText += 'b';
  const std::uint8_t options = input.Byte();
  // Small numbers, so windows and limits often fall inside the value; -1 stands for "none".
  const LONG count = static_cast<LONG>(input.Below(8)) - 1;
  const LONG start = static_cast<LONG>(input.Word() % 4096) - 1;
  const LONG end = static_cast<LONG>(input.Word() % 4096) - 1;
  const std::string value = input.Rest();

  Textrope t;
  t.value = value;
  std::string expected = value;
  const LONG noCase = options & 1, recursive = options >> 1 & 1;
  const LONG replaced = t.Replace(oldText, newText, count, start, end, noCase, recursive);
  const LONG expectedCount = ReferenceReplace(expected, oldText, newText, count, start, end, noCase, recursive);
  FUZZ_CHECK(replaced == expectedCount,
             std::to_string(replaced) + " replaced, " + std::to_string(expectedCount) + " expected");
  FUZZ_CHECK(t.value == expected, "[" + fuzz::Shown(t.value) + "] expected [" + fuzz::Shown(expected) + "]");
  return 0;
}
