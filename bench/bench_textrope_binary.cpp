// Gzip and Gunzip of a 64 MiB value beside zlib doing the same work (deflate with the same
// level, memory level and gzip wrapper; uncompress), all bound at run time as the class binds
// zlib, and ANSI <-> UTF-8 conversion of 64 MiB of Western text beside glibc iconv. Every
// baseline writes into a fresh block that is not filled first, as the Textrope results are.
#include <benchmark/benchmark.h>

#include <iconv.h>
#include <zlib.h>

#include <memory>
#include <string>

#include "platform/win/modules/library.h"
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
  decltype(&::deflateInit2_) deflateInit2Entry = nullptr;
  decltype(&::deflate) deflate = nullptr;
  decltype(&::deflateEnd) deflateEnd = nullptr;
  decltype(&::deflateBound) deflateBound = nullptr;
  decltype(&::compress2) compress2 = nullptr;
  decltype(&::uncompress) uncompress = nullptr;
  decltype(&::compressBound) compressBound = nullptr;
};

template <typename Entry>
void Bind(HMODULE library, Entry& entry, const char* name) {
  entry = reinterpret_cast<Entry>(GetProcAddress(library, name));
}

const OneShotZlib& Zlib() {
  static const OneShotZlib zlib = [] {
    OneShotZlib z;
    if (HMODULE library = LoadLibraryA("libz.so.1")) {
      Bind(library, z.deflateInit2Entry, "deflateInit2_");
      Bind(library, z.deflate, "deflate");
      Bind(library, z.deflateEnd, "deflateEnd");
      Bind(library, z.deflateBound, "deflateBound");
      Bind(library, z.compress2, "compress2");
      Bind(library, z.uncompress, "uncompress");
      Bind(library, z.compressBound, "compressBound");
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

// One deflate call with the class's settings: gzip wrapper, memory level 9, finished stream.
void BM_Deflate(benchmark::State& state) {
  const OneShotZlib& zlib = Zlib();
  const std::string& plain = AnsiText();
  for (auto _ : state) {
    z_stream stream{};
    zlib.deflateInit2Entry(&stream, kLevel, Z_DEFLATED, 31, 9, Z_DEFAULT_STRATEGY, ZLIB_VERSION,
                      static_cast<int>(sizeof(z_stream)));
    const uLong bound = zlib.deflateBound(&stream, kSize);
    auto out = std::make_unique_for_overwrite<char[]>(bound);
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(plain.data()));
    stream.avail_in = static_cast<uInt>(kSize);
    stream.next_out = reinterpret_cast<Bytef*>(out.get());
    stream.avail_out = static_cast<uInt>(bound);
    if (zlib.deflate(&stream, Z_FINISH) != Z_STREAM_END) state.SkipWithError("deflate failed");
    zlib.deflateEnd(&stream);
    benchmark::DoNotOptimize(out.get());
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
    auto out = std::make_unique_for_overwrite<char[]>(kSize);
    if (zlib.uncompress(reinterpret_cast<Bytef*>(out.get()), &length,
                        reinterpret_cast<const Bytef*>(compressed.data()), compressedLength) != Z_OK) {
      state.SkipWithError("uncompress failed");
    }
    benchmark::DoNotOptimize(out.get());
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

// glibc iconv on the same bytes, into a fresh block of the most the result can need.
void Iconv(benchmark::State& state, const char* to, const char* from, const std::string& text,
           std::size_t mostPerByte) {
  iconv_t converter = iconv_open(to, from);
  if (converter == reinterpret_cast<iconv_t>(-1)) {
    state.SkipWithError("iconv_open failed");
    return;
  }
  for (auto _ : state) {
    auto out = std::make_unique_for_overwrite<char[]>(mostPerByte * text.size());
    char* in = const_cast<char*>(text.data());
    std::size_t inLeft = text.size();
    char* outAt = out.get();
    std::size_t outLeft = mostPerByte * text.size();
    iconv(converter, nullptr, nullptr, nullptr, nullptr);
    if (iconv(converter, &in, &inLeft, &outAt, &outLeft) == static_cast<std::size_t>(-1)) {
      state.SkipWithError("iconv failed");
    }
    benchmark::DoNotOptimize(out.get());
  }
  iconv_close(converter);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

void BM_IconvAnsiToUtf8(benchmark::State& state) { Iconv(state, "UTF-8", "CP1252", AnsiText(), 3); }

void BM_IconvUtf8ToAnsi(benchmark::State& state) {
  Textrope t;
  LONG length = 0;
  Iconv(state, "CP1252", "UTF-8", *t.AnsiToUtf8(AnsiText(), length, 1252), 1);
}

BENCHMARK(BM_Gzip)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Deflate)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Gunzip)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Uncompress)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AnsiToUtf8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IconvAnsiToUtf8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Utf8ToAnsi)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IconvUtf8ToAnsi)->Unit(benchmark::kMillisecond);

}  // namespace
