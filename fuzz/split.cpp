// Textrope's Split and Join on any text and boundary.
// Rules: joining the pieces with the boundary they were split at gives the text back (without
// quotes, empty pieces aside, which become a blank); splitting never faults, with any quotes.
#include <cstdint>
#include <string>

#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_input.h"
#include "textrope/textrope.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Input input(data, size);
  const std::string boundary = input.Text();
  const std::string quoteStart = input.Text();
  const std::string quoteEnd = input.Text();
  const std::string separator = input.Text();
  const LONG options = input.Byte();
  const std::string text = input.Rest();

  Textrope t;
  t.value = text;
  t.Split(boundary);
  std::string rejoined;
  for (std::size_t i = 0; i < t.lines.size(); ++i) rejoined += (i ? boundary : "") + t.lines[i].Line;
  // An empty piece is kept as one blank, and a boundary at the very end adds no line.
  const bool plainPieces = !boundary.empty() && text.find(boundary + boundary) == std::string::npos &&
                           !text.starts_with(boundary) && text.find(' ') == std::string::npos;
  if (plainPieces) {
    FUZZ_CHECK(rejoined == text || rejoined + boundary == text,
               "[" + fuzz::Shown(rejoined) + "] from [" + fuzz::Shown(text) + "]");
  }
  t.Join(boundary);

  Textrope quoted;
  quoted.value = text;
  quoted.Split(boundary, quoteStart, quoteEnd, options & 1, options & 2, options & 4, separator, options & 8);
  quoted.Join(boundary, quoteStart, quoteEnd);
  quoted.value = text;
  quoted.Sort(options >> 4 & 7, boundary, quoteStart, quoteEnd, options & 2, options & 4);
  return 0;
}
