// The crash reporter's look-up in this program's own debug records: one symbol on a module
// whose records are in use, and the scan of a 64 KiB stack frame word by word.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <climits>
#include <vector>

#include "crash/faultscribe.h"
#include "crash/records/symbol_lookup.h"

namespace {

[[gnu::noinline]] int Probe(int value) { return value * 7 + 3; }

FaultscribeClass& Reporter() {
  static FaultscribeClass* reporter = [] {
    auto* r = new FaultscribeClass;
    char path[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    path[n > 0 ? n : 0] = '\0';
    r->FileName = path;
    r->_InitReportText();
    return r;
  }();
  return *reporter;
}

void BM_GetSymbolCachedModule(benchmark::State& state) {
  FaultscribeClass& r = Reporter();
  auto address = reinterpret_cast<ULONG_PTR>(&Probe);
  if (r._GetSymbol(address, 1).View().find("Probe") == std::string_view::npos) {
    state.SkipWithError("this program has no debug records");
    return;
  }
  for (auto _ : state) benchmark::DoNotOptimize(r._GetSymbol(address, 1));
}
BENCHMARK(BM_GetSymbolCachedModule)->Unit(benchmark::kMicrosecond);

// A frame of 64 KiB whose words are what stacks hold: mostly data, every eighth word a
// return address into the program.
void BM_FrameScan64KiB(benchmark::State& state) {
  FaultscribeClass& r = Reporter();
  std::vector<std::uint64_t> stack(64 * 1024 / 8 + 2);
  for (std::size_t i = 0; i < stack.size(); ++i)
    stack[i] = i % 8 == 0 ? reinterpret_cast<std::uint64_t>(&Probe) + 5 : i * 0x9E3779B97F4A7C15ull;
  auto start = reinterpret_cast<ULONG_PTR>(stack.data());
  auto end = start + 64 * 1024;
  auto* dump = new crash::ReportText;
  for (auto _ : state) {
    dump->Clear();
    r._StackDump(start, end, 1, *dump);
    benchmark::DoNotOptimize(dump->Length());
  }
  delete dump;
  state.counters["lookup state bytes"] = sizeof(crash::SymbolLookup);
}
BENCHMARK(BM_FrameScan64KiB)->Unit(benchmark::kMillisecond);

}  // namespace
