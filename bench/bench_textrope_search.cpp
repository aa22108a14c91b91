// Instring on every needle shape against std::string_view::find on the same text, 1 MiB and
// 64 MiB, the needle at the very end so every search reads it all. Folded searches are
// measured against find on text and needle upper-cased beforehand (not timed), whole-word
// searches against a find loop that tests the same word boundaries.
#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <string_view>

#include "textrope/byte_text.h"
#include "textrope/textrope.h"

namespace {

constexpr std::int64_t kSmall = 1 << 20;
constexpr std::int64_t kLarge = 64 << 20;

enum class Shape { kCommonFirst, kAbsentFirst, kOneByte, kLong, kPeriodic, kFolded, kWholeWord };

struct Search {
  std::string text;
  std::string needle;
  LONG noCase = 0;
  LONG wholeWord = 0;
};

std::string Letters(std::size_t size) {
  std::mt19937 random(7);
  std::string text(size, ' ');
  for (char& c : text) c = static_cast<char>('a' + random() % 26);
  return text;
}

Search Make(Shape shape, std::size_t size) {
  Search s;
  switch (shape) {
    case Shape::kCommonFirst: s.needle = "needle!"; break;
    case Shape::kAbsentFirst: s.needle = "Needle!"; break;
    case Shape::kOneByte: s.needle = "!"; break;
    case Shape::kLong: s.needle = std::string(63, 'n') + "!"; break;
    case Shape::kPeriodic: s.needle = std::string(31, 'a') + "b"; break;
    case Shape::kFolded:
      s.needle = "needle!";
      s.noCase = 1;
      break;
    case Shape::kWholeWord:
      // Inside the letters "abc" turns up every 17,576 bytes or so, never as a word.
      s.needle = "abc";
      s.wholeWord = 1;
      break;
  }
  const std::size_t body = size - s.needle.size() - 1;
  s.text = shape == Shape::kPeriodic ? std::string(body, 'a') : Letters(body);
  s.text += ' ';
  s.text += shape == Shape::kFolded ? "NEEDLE!" : s.needle;
  return s;
}

std::string Upper(std::string text) {
  for (char& c : text) c = textrope::UpperByte(c);
  return text;
}

void InstringShape(benchmark::State& state, Shape shape) {
  const Search s = Make(shape, static_cast<std::size_t>(state.range(0)));
  Textrope t;
  t.SetValue(s.text);
  for (auto _ : state) {
    LONG at = t.Instring(s.needle, 1, 1, 0, s.noCase, s.wholeWord);
    if (at == 0) state.SkipWithError("not found");
    benchmark::DoNotOptimize(at);
  }
  state.SetBytesProcessed(state.iterations() * state.range(0));
}

void FindShape(benchmark::State& state, Shape shape) {
  Search s = Make(shape, static_cast<std::size_t>(state.range(0)));
  if (s.noCase != 0) {
    s.text = Upper(s.text);
    s.needle = Upper(s.needle);
  }
  const std::string_view text = s.text;
  for (auto _ : state) {
    std::size_t at = text.find(s.needle);
    while (s.wholeWord != 0 && at != std::string_view::npos &&
           ((at > 0 && textrope::IsWordByte(text[at - 1])) ||
            (at + s.needle.size() < text.size() && textrope::IsWordByte(text[at + s.needle.size()])))) {
      at = text.find(s.needle, at + 1);
    }
    if (at == std::string_view::npos) state.SkipWithError("not found");
    benchmark::DoNotOptimize(at);
  }
  state.SetBytesProcessed(state.iterations() * state.range(0));
}

#define SHAPE(name, shape)                                                       \
  BENCHMARK_CAPTURE(InstringShape, name, shape)->Arg(kSmall)->Arg(kLarge);      \
  BENCHMARK_CAPTURE(FindShape, name, shape)->Arg(kSmall)->Arg(kLarge)

SHAPE(common_first, Shape::kCommonFirst);
SHAPE(absent_first, Shape::kAbsentFirst);
SHAPE(one_byte, Shape::kOneByte);
SHAPE(long_needle, Shape::kLong);
SHAPE(periodic, Shape::kPeriodic);
SHAPE(folded, Shape::kFolded);
SHAPE(whole_word, Shape::kWholeWord);

}  // namespace
