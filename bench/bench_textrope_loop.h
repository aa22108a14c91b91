#pragma once
// The timing loop that the Textrope benchmarks share.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "textrope/textrope.h"

// Times `work` on a Textrope given a fresh copy of the input each time (the copy is not
// timed); throughput counts bytesPerRun for each run.
template <typename Work>
void OnFreshValues(benchmark::State& state, const std::string& input, std::int64_t bytesPerRun, Work work) {
  Textrope t;
  for (auto _ : state) {
    state.PauseTiming();
    t.SetValue(input);
    state.ResumeTiming();
    work(t);
    benchmark::DoNotOptimize(t.value.data());
  }
  state.SetBytesProcessed(state.iterations() * bytesPerRun);
}
