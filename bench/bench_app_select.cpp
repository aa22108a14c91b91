// Building select messages and handing them to the simulated unit.
#include <benchmark/benchmark.h>

#include "app/globals.h"
#include "app/sysex_senders.h"
#include "tests/app/sent_messages.h"
#include "textrope/textrope.h"

namespace {

void BM_SelectMessages(benchmark::State& state) {
  Textrope ST;
  for (auto _ : state) {
    state.PauseTiming();
    const bool opened = app_test::OpenSimulatedOutput();
    state.ResumeTiming();
    if (!opened) {
      state.SkipWithError("the simulated unit is not listed");
      break;
    }
    for (LONG v = 0; v < state.range(0); ++v) {
      CAB::Number = static_cast<BYTE>(v & 1);
      CAB::Side = static_cast<BYTE>((v >> 1) & 1);
      GLO::CabToSend = v % 230;
      SelectCabOnAxeFX(ST);
    }
    // Closing waits until the unit has taken every message.
    midiOutClose(midilink::HMIDIOUT);
    midilink::HMIDIOUT = nullptr;
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_SelectMessages)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
