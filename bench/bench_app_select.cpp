// Building select messages and handing them to the simulated unit.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "app/globals.h"
#include "app/sysex_senders.h"
#include "platform/midi/midi_out.h"
#include "platform/midi/simulator_backend.h"
#include "textrope/textrope.h"

namespace {

bool OpenSimulatedUnit() {
  setenv("BOXWRIGHT_SIMULATOR", "1", 1);
  for (UINT id = 0; id < midiOutGetNumDevs(); ++id) {
    MIDIOUTCAPSA caps{};
    midiOutGetDevCapsA(id, &caps, sizeof caps);
    if (std::string(caps.szPname) == midi::kSimulatorName)
      return midiOutOpen(&midilink::HMIDIOUT, id, 0, 0, CALLBACK_NULL) == MMSYSERR_NOERROR;
  }
  return false;
}

void BM_SelectMessages(benchmark::State& state) {
  Textrope ST;
  for (auto _ : state) {
    if (!OpenSimulatedUnit()) {
      state.SkipWithError("the simulated unit is not listed");
      return;
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
    state.PauseTiming();
    midi::SimulatorInstance().ClearReceived();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_SelectMessages)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
