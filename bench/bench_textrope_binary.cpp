// Gzip and Gunzip of a 64 MiB value beside zlib's own one-shot compress2/uncompress at the
// same level (all bound at run time, as the class binds zlib), and ANSI <-> UTF-8 conversion
// of 64 MiB of Western text.
#include <benchmark/benchmark.h>

#include <zlib.h>

#include <string>

#include "platform/win/code_page.h"
#include "platform/win/library.h"
#include "bench/bench_textrope_loop.h"
#include "textrope/textrope.h"

namespace {

constexpr std::size_t kSize = 64u << 20;
constexpr int kLevel = 6;

// Words of lower-case letters between blanks and line ends, with an accented letter (E9h in
// the ANSI page) now and then: text that compresses and converts as prose does.
const std::string& AnsiText() {
  static const std::string text = [] {
    std::string t;
    t.reserve(kSize);
    unsigned seed = 11;
    while (t.size() < kSize) {
      seed = seed * 1103515245u + 12345u;
      std::size_t length = 2 + (seed >> 16) % 9;
      for (std::size_t i = 0; i < length; ++i) {
        unsigned pick = (seed >> (i % 13)) % 40;
        t += pick == 0 ? '\xe9' : static_cast<char>('a' + pick % 26);
      }
      t += (seed >> 8) % 12 == 0 ? "\r\n" : " ";
    }
    t.resize(kSize);
    return t;
  }();
  return text;
}

struct OneShotZlib {
  decltype(&::compress2) compress2 = nullptr;
  decltype(&::uncompress) uncompress = nullptr;
  decltype(&::compressBound) compressBound = nullptr;
};

const OneShotZlib& Zlib() {
  static const OneShotZlib zlib = [] {
    OneShotZlib z;
    if (HMODULE library = LoadLibraryA("libz.so.1")) {
      z.compress2 = reinterpret_cast<decltype(z.compress2)>(GetProcAddress(library, "compress2"));
      z.uncompress = reinterpret_cast<decltype(z.uncompress)>(GetProcAddress(library, "uncompress"));
      z.compressBound = reinterpret_cast<decltype(z.compressBound)>(GetProcAddress(library, "compressBound"));
    }
    return z;
  }();
  return zlib;
}

void BM_Gzip(benchmark::State& state) {
  std::size_t compressed = 0;
  OnFreshValues(state, AnsiText(), static_cast<std::int64_t>(kSize), [&](Textrope& t) {
    t.gzipped = 0;
    if (t.Gzip(kLevel) != 0) state.SkipWithError("Gzip failed");
    compressed = t.value.size();
  });
  state.counters["ratio"] = static_cast<double>(kSize) / static_cast<double>(compressed);
}

void BM_Compress2(benchmark::State& state) {
  const OneShotZlib& zlib = Zlib();
  const std::string& plain = AnsiText();
  for (auto _ : state) {
    uLongf length = zlib.compressBound(kSize);
    std::string out(length, '\0');
    zlib.compress2(reinterpret_cast<Bytef*>(out.data()), &length, reinterpret_cast<const Bytef*>(plain.data()), kSize,
                   kLevel);
    out.resize(length);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kSize));
}

void BM_Gunzip(benchmark::State& state) {
  Textrope source;
  source.SetValue(AnsiText());
  source.Gzip(kLevel);
  OnFreshValues(state, source.value, static_cast<std::int64_t>(kSize), [&](Textrope& t) {
    t.gzipped = 1;
    if (t.Gunzip() != 0) state.SkipWithError("Gunzip failed");
  });
}

void BM_Uncompress(benchmark::State& state) {
  const OneShotZlib& zlib = Zlib();
  uLongf compressedLength = zlib.compressBound(kSize);
  std::string compressed(compressedLength, '\0');
  zlib.compress2(reinterpret_cast<Bytef*>(compressed.data()), &compressedLength,
                 reinterpret_cast<const Bytef*>(AnsiText().data()), kSize, kLevel);
  for (auto _ : state) {
    uLongf length = kSize;
    std::string out(kSize, '\0');
    if (zlib.uncompress(reinterpret_cast<Bytef*>(out.data()), &length,
                        reinterpret_cast<const Bytef*>(compressed.data()), compressedLength) != Z_OK) {
      state.SkipWithError("uncompress failed");
    }
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kSize));
}

void BM_AnsiToUtf8(benchmark::State& state) {
  AnsiText();  // made outside the timing
  Textrope t;
  for (auto _ : state) {
    LONG length = 0;
    auto utf8 = t.AnsiToUtf8(AnsiText(), length, 1252);
    benchmark::DoNotOptimize(utf8);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kSize));
}

void BM_Utf8ToAnsi(benchmark::State& state) {
  Textrope t;
  LONG length = 0;
  const std::string utf8 = *t.AnsiToUtf8(AnsiText(), length, 1252);
  for (auto _ : state) {
    auto ansi = t.Utf8ToAnsi(utf8, length, 1252);
    benchmark::DoNotOptimize(ansi);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * utf8.size()));
}

// The same two conversions through the code-page calls into buffers that are already there:
// what the converters cost without the fresh blocks that every Textrope result needs.
void ThroughCodePages(benchmark::State& state, UINT fromPage, const std::string& from, UINT toPage) {
  const int size = static_cast<int>(from.size());
  std::u16string utf16(from.size(), u'\0');
  std::string to(2 * from.size(), '\0');
  for (auto _ : state) {
    int units = MultiByteToWideChar(fromPage, 0, from.data(), size, nullptr, 0);
    MultiByteToWideChar(fromPage, 0, from.data(), size, utf16.data(), units);
    int bytes = WideCharToMultiByte(toPage, 0, utf16.data(), units, nullptr, 0, nullptr, nullptr);
    WideCharToMultiByte(toPage, 0, utf16.data(), units, to.data(), bytes, nullptr, nullptr);
    benchmark::DoNotOptimize(to.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * from.size()));
}

void BM_CodePagesAnsiToUtf8(benchmark::State& state) { ThroughCodePages(state, 1252, AnsiText(), CP_UTF8); }

void BM_CodePagesUtf8ToAnsi(benchmark::State& state) {
  Textrope t;
  LONG length = 0;
  ThroughCodePages(state, CP_UTF8, *t.AnsiToUtf8(AnsiText(), length, 1252), 1252);
}

BENCHMARK(BM_Gzip)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Compress2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Gunzip)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Uncompress)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AnsiToUtf8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Utf8ToAnsi)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CodePagesAnsiToUtf8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CodePagesUtf8ToAnsi)->Unit(benchmark::kMillisecond);

}  // namespace
