// Textrope's time formatting and parsing on any text.
// Rules: every picture gives exactly 15 characters; a time formatted in a layout that keeps
// hundredths or seconds reads back to the same time; any text parses without fault.
#include <cstdint>
#include <string>

#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_input.h"
#include "textrope/textrope.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Input input(data, size);
  const auto time = static_cast<LONG>(input.Word());
  const std::string picture = input.Text();
  const std::string text = input.Rest();

  Textrope t;
  FUZZ_CHECK(t.FormatTime(time, picture).size() == 15);
  t.DeformatTime(text);
  t.IsTime(text);
  t.value = text;
  t.DeformatTime();
  t.value = text;
  t.FormatTime(picture);

  // h:mm:ss within a day reads back to the same second.
  const LONG day = 8640000;
  const LONG within = 1 + static_cast<LONG>(static_cast<std::uint32_t>(time) % day) / 100 * 100;
  const std::string shown = t.FormatTime(within, "@T8");
  FUZZ_CHECK(t.DeformatTime(shown) == std::to_string(within), "[" + fuzz::Shown(shown) + "] gave [" + fuzz::Shown(t.DeformatTime(shown)) + "]");
  return 0;
}
