// Lines, Base64 and URL coding of a 64 MiB value. Splitting and joining are measured
// against a plain std::string loop doing the same work. Every result is a fresh block, so
// first touches of new pages weigh heavily; GLIBC_TUNABLES=glibc.malloc.hugetlb=1 shows the
// coding itself.
#include <benchmark/benchmark.h>

#include <string>
#include <string_view>
#include <vector>

#include "bench/bench_textrope_loop.h"
#include "textrope/textrope.h"

namespace {

constexpr std::size_t kSize = 64u << 20;

// Lines of 20 to 80 printable bytes, CR LF between them.
const std::string& TextOfLines() {
  static const std::string text = [] {
    std::string t;
    t.reserve(kSize);
    unsigned seed = 1;
    while (t.size() < kSize) {
      seed = seed * 1103515245u + 12345u;
      std::size_t length = 20 + (seed >> 16) % 61;
      for (std::size_t i = 0; i < length; ++i) t += static_cast<char>('a' + (seed + i * 7) % 26);
      t += "\r\n";
    }
    t.resize(kSize);
    return t;
  }();
  return text;
}

// Every byte value, as binary data is.
const std::string& BinaryData() {
  static const std::string data = [] {
    std::string d(kSize, '\0');
    unsigned seed = 7;
    for (char& c : d) {
      seed = seed * 1103515245u + 12345u;
      c = static_cast<char>(seed >> 24);
    }
    return d;
  }();
  return data;
}

void SplitJoinTextrope(benchmark::State& state) {
  Textrope t;
  for (auto _ : state) {
    t.SetValue(TextOfLines());
    t.Split("\r\n");
    t.Join("\r\n");
    benchmark::DoNotOptimize(t.value.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kSize));
}
BENCHMARK(SplitJoinTextrope)->Unit(benchmark::kMillisecond);

void SplitJoinPlainString(benchmark::State& state) {
  std::string value;
  std::vector<std::string> lines;
  for (auto _ : state) {
    value = TextOfLines();
    lines.clear();
    lines.shrink_to_fit();
    std::string_view text = value;
    std::size_t start = 0;
    for (std::size_t at; (at = text.find("\r\n", start)) != std::string_view::npos; start = at + 2) {
      lines.emplace_back(text.substr(start, at - start));
    }
    if (start < text.size()) lines.emplace_back(text.substr(start));
    std::string joined;
    for (std::size_t i = 0; i < lines.size(); ++i) {
      if (i > 0) joined += "\r\n";
      joined += lines[i];
    }
    value = std::move(joined);
    benchmark::DoNotOptimize(value.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kSize));
}
BENCHMARK(SplitJoinPlainString)->Unit(benchmark::kMillisecond);

void Base64Encode(benchmark::State& state) {
  OnFreshValues(state, BinaryData(), static_cast<std::int64_t>(kSize), [](Textrope& t) { t.Base64Encode(); });
}
BENCHMARK(Base64Encode)->Unit(benchmark::kMillisecond);

// Measured in decoded bytes, as the encoding is.
void Base64Decode(benchmark::State& state) {
  Textrope encoded;
  encoded.SetValue(BinaryData());
  encoded.Base64Encode();
  OnFreshValues(state, encoded.value, static_cast<std::int64_t>(kSize), [](Textrope& t) { t.Base64Decode(); });
}
BENCHMARK(Base64Decode)->Unit(benchmark::kMillisecond);

void UrlEncode(benchmark::State& state) {
  OnFreshValues(state, TextOfLines(), static_cast<std::int64_t>(kSize), [](Textrope& t) { t.UrlEncode(0); });
}
BENCHMARK(UrlEncode)->Unit(benchmark::kMillisecond);

}  // namespace
