// Loading a favourites file: a wrong file picked through "All Files" may be large, and the
// load must stay linear in its size (a 1 MiB file well within a second).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <random>
#include <string>

#include "app/favourites.h"
#include "app/globals.h"
#include "tests/app/answering_screen.h"
#include "textrope/textrope.h"

namespace {

void BM_LoadFavourites(benchmark::State& state) {
  ResetLibrarianState();
  for (LONG cab = 1; cab <= 230; ++cab) {
    CAB_QUEUE->CabNum = cab;
    CAB_QUEUE->Name = "cab " + std::to_string(cab);
    CAB_QUEUE.Add(&CAB_QUEUE_ROW::CabNum);
  }
  const std::string file = "bench_favourites.cablist";
  std::string bytes(static_cast<std::size_t>(state.range(0)), '\0');
  std::mt19937 random(15);
  std::size_t listed = 0;
  for (char& b : bytes) {
    b = static_cast<char>(random());
    if (auto cab = static_cast<unsigned char>(b); cab >= 1 && cab <= 230) ++listed;
  }
  std::ofstream(file, std::ios::binary) << bytes;

  auto& screen = app_test::UseAnsweringScreen();
  Textrope ST;
  for (auto _ : state) {
    screen.files = {file};
    LoadFavourites(ST);
  }
  if (FAV_QUEUE.Records() != listed) state.SkipWithError("the file's cabs were not all loaded");
  state.SetBytesProcessed(state.iterations() * state.range(0));
  rt::UseScreen(nullptr);
  std::remove(file.c_str());
}
BENCHMARK(BM_LoadFavourites)->Arg(80'000)->Arg(1 << 20)->Arg(16 << 20)->Unit(benchmark::kMillisecond);

}  // namespace
