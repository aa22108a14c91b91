// Decoding a tick's worth of cab-list replies from RETURN_QUEUE into CAB_QUEUE.
#include <benchmark/benchmark.h>

#include <string>

#include "tests/app/unit_replies.h"
#include "textrope/textrope.h"

namespace {

void BM_DecodeCabList(benchmark::State& state) {
  const int cabs = static_cast<int>(state.range(0));
  Textrope ST;
  app_test::QuietView view;
  GLO::UserCabOffset = 131;
  for (auto _ : state) {
    state.PauseTiming();
    CAB_QUEUE.Free();
    for (int index = 0; index < cabs; ++index)
      app_test::Arrive(app_test::CabListReply(index, "Cab number " + std::to_string(index + 1)));
    state.ResumeTiming();
    ProcessReturnQueue(ST, view);
  }
  state.SetItemsProcessed(state.iterations() * cabs);
  state.SetComplexityN(cabs);
}
BENCHMARK(BM_DecodeCabList)->Arg(230)->Arg(2000)->Arg(8000)->Unit(benchmark::kMicrosecond)->Complexity();

}  // namespace
