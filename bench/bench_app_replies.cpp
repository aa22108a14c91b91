// Decoding a tick's worth of cab-list replies from RETURN_QUEUE into CAB_QUEUE.
#include <benchmark/benchmark.h>

#include <string>

#include "app/globals.h"
#include "app/reply_dispatcher.h"
#include "textrope/textrope.h"

namespace {

class QuietView final : public ReplyView {
 public:
  void HighlightCab(std::size_t) override {}
  void HighlightFavourite(std::size_t) override {}
  void ShowCabSide(bool) override {}
  void Display() override {}
};

void QueueCabList(int cabs) {
  for (int index = 0; index < cabs; ++index) {
    std::string message = {'\xF0', '\x00', '\x01', '\x74', '\x03', '\x12'};
    message += static_cast<char>(index & 0x7F);
    message += static_cast<char>((index >> 7) & 0x7F);
    message += "Cab number " + std::to_string(index + 1);
    message += '\0';
    message += '\xF7';
    RETURN_QUEUE->DataLen = static_cast<LONG>(message.size());
    RETURN_QUEUE->RawData = std::move(message);
    RETURN_QUEUE.Add();
  }
}

void BM_DecodeCabList(benchmark::State& state) {
  const int cabs = static_cast<int>(state.range(0));
  Textrope ST;
  QuietView view;
  GLO::UserCabOffset = 131;
  for (auto _ : state) {
    state.PauseTiming();
    CAB_QUEUE.Free();
    QueueCabList(cabs);
    state.ResumeTiming();
    ProcessReturnQueue(ST, view);
  }
  state.SetItemsProcessed(state.iterations() * cabs);
  state.SetComplexityN(cabs);
}
BENCHMARK(BM_DecodeCabList)->Arg(230)->Arg(2000)->Arg(8000)->Unit(benchmark::kMicrosecond)->Complexity();

}  // namespace
