// Textrope against plain std::string code doing the same job, on 1 MiB and 64 MiB values;
// hexadecimal coding on its own (figures in bytes per second), and what huge pages save on the
// first touch of a fresh block.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <string_view>

#include "bench/bench_textrope_loop.h"
#include "textrope/fresh_block.h"
#include "textrope/textrope.h"

namespace {

constexpr std::int64_t kSmall = 1 << 20;
constexpr std::int64_t kLarge = 64 << 20;

// Text with "ab" about every 16 bytes, for the replacements.
std::string Pairs(std::size_t size) {
  std::string text(size, '.');
  for (std::size_t i = 0; i + 2 <= size; i += 16) text.replace(i, 2, "ab");
  return text;
}

std::string RandomBytes(std::size_t size) {
  std::mt19937 random(11);
  std::string bytes(size, '\0');
  for (char& c : bytes) c = static_cast<char>(random());
  return bytes;
}

// The pairs, made "xyz" first when the replacement shrinks them.
std::string ReplaceInput(std::size_t size, std::string_view from, std::string_view to) {
  Textrope t;
  t.SetValue(Pairs(size));
  if (from.size() > to.size()) t.Replace(to, from, 0, 1, 0, 0, 0);
  return t.value;
}

void Replace(benchmark::State& state, std::string_view from, std::string_view to) {
  OnFreshValues(state, ReplaceInput(static_cast<std::size_t>(state.range(0)), from, to), state.range(0),
                [&](Textrope& t) { benchmark::DoNotOptimize(t.Replace(from, to, 0, 1, 0, 0, 0)); });
}

// The same replacement rebuilt with std::string, into a block reserved at exactly the result's
// size (worked out before the timing: the baseline is spared the count).
void StringRebuild(benchmark::State& state, std::string_view from, std::string_view to) {
  const std::string text = ReplaceInput(static_cast<std::size_t>(state.range(0)), from, to);
  std::size_t matches = 0;
  for (std::size_t x = 0; (x = text.find(from, x)) != std::string::npos; x += from.size()) ++matches;
  const std::size_t resultSize = text.size() + matches * to.size() - matches * from.size();
  std::string s;
  for (auto _ : state) {
    state.PauseTiming();
    s = text;
    state.ResumeTiming();
    std::string out;
    out.reserve(resultSize);
    std::size_t p = 0;
    for (std::size_t x; (x = s.find(from, p)) != std::string::npos; p = x + from.size()) {
      out.append(s, p, x - p).append(to);
    }
    out.append(s, p, std::string::npos);
    s.swap(out);
    benchmark::DoNotOptimize(s.data());
  }
  state.SetBytesProcessed(state.iterations() * state.range(0));
}

void ReplaceGrow(benchmark::State& state) { Replace(state, "ab", "xyz"); }
void ReplaceShrink(benchmark::State& state) { Replace(state, "xyz", "ab"); }
void StringRebuildGrow(benchmark::State& state) { StringRebuild(state, "ab", "xyz"); }
void StringRebuildShrink(benchmark::State& state) { StringRebuild(state, "xyz", "ab"); }

void ToHex(benchmark::State& state) {
  const std::string bytes = RandomBytes(static_cast<std::size_t>(state.range(0)));
  OnFreshValues(state, bytes, state.range(0), [](Textrope& t) { t.ToHex(0); });
}

// Measured in bytes produced.
void FromHex(benchmark::State& state) {
  Textrope source;
  source.SetValue(RandomBytes(static_cast<std::size_t>(state.range(0))));
  source.ToHex(0);
  OnFreshValues(state, source.value, state.range(0), [](Textrope& t) { t.FromHex(); });
}

// A file of the benchmark's size in the temporary folder, removed when done.
class BenchFile {
 public:
  explicit BenchFile(std::int64_t size) : path_("/tmp/boxwright-bench-" + std::to_string(::getpid())) {
    Textrope t;
    t.SaveFile(RandomBytes(static_cast<std::size_t>(size)), path_, 0, 0);
  }
  ~BenchFile() { std::remove(path_.c_str()); }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

void LoadFile(benchmark::State& state) {
  BenchFile file(state.range(0));
  Textrope t;
  for (auto _ : state) benchmark::DoNotOptimize(t.LoadFile(file.path()));
  state.SetBytesProcessed(state.iterations() * state.range(0));
}

// The read loop into a fresh block that is not filled first, as LoadFile's is.
void PlainReadLoop(benchmark::State& state) {
  BenchFile file(state.range(0));
  for (auto _ : state) {
    int fd = ::open(file.path().c_str(), O_RDONLY);
    struct stat info {};
    ::fstat(fd, &info);
    const auto size = static_cast<std::size_t>(info.st_size);
    auto data = std::make_unique_for_overwrite<char[]>(size);
    std::size_t done = 0;
    while (done < size) {
      ssize_t got = ::read(fd, data.get() + done, size - done);
      if (got <= 0) break;
      done += static_cast<std::size_t>(got);
    }
    ::close(fd);
    benchmark::DoNotOptimize(data.get());
  }
  state.SetBytesProcessed(state.iterations() * state.range(0));
}

// The first touch of a fresh 128 MiB block, written once: with the huge pages that large
// results ask for, and with plain 4 KiB pages.
void FirstTouchHugePages(benchmark::State& state) {
  for (auto _ : state) {
    std::string block = textrope::FreshBlock(static_cast<std::size_t>(state.range(0)));
    std::memset(block.data(), 'x', block.size());
    benchmark::DoNotOptimize(block.data());
  }
  state.SetBytesProcessed(state.iterations() * state.range(0));
}

void FirstTouchPlainPages(benchmark::State& state) {
  for (auto _ : state) {
    auto block = std::make_unique_for_overwrite<char[]>(static_cast<std::size_t>(state.range(0)));
    std::memset(block.get(), 'x', static_cast<std::size_t>(state.range(0)));
    benchmark::DoNotOptimize(block.get());
  }
  state.SetBytesProcessed(state.iterations() * state.range(0));
}

}  // namespace

BENCHMARK(ReplaceGrow)->Arg(kSmall)->Arg(kLarge);
BENCHMARK(StringRebuildGrow)->Arg(kSmall)->Arg(kLarge);
BENCHMARK(ReplaceShrink)->Arg(kSmall)->Arg(kLarge);
BENCHMARK(StringRebuildShrink)->Arg(kSmall)->Arg(kLarge);
BENCHMARK(ToHex)->Arg(kSmall)->Arg(kLarge);
BENCHMARK(FromHex)->Arg(kSmall)->Arg(kLarge);
BENCHMARK(LoadFile)->Arg(kSmall)->Arg(kLarge);
BENCHMARK(PlainReadLoop)->Arg(kSmall)->Arg(kLarge);
BENCHMARK(FirstTouchHugePages)->Arg(2 * kLarge);
BENCHMARK(FirstTouchPlainPages)->Arg(2 * kLarge);
