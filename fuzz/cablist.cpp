// A ".cablist" favourites file, as "Load Favourites From File..." reads it.
// Rules: the favourites are the listed cabs the file names, as often as it names them, in cab
// order, and none from a file over 64 KiB; the current cab row is as it was.
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "app/favourites.h"
#include "app/globals.h"
#include "fuzz/fuzz_check.h"
#include "tests/app/answering_screen.h"
#include "textrope/textrope.h"

namespace {

// A file of this process's own, so that fuzzers and replays running side by side never meet.
const std::string& FilePath() {
  static const std::string path =
      (std::filesystem::temp_directory_path() / ("boxwright-fuzz-" + std::to_string(::getpid()) + ".cablist")).string();
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  ResetLibrarianState();
  // Every other cab from 1 to 300 is listed: some bytes name a cab the list lacks.
  for (LONG cab = 1; cab <= 300; cab += 2) {
    CAB_QUEUE->CabNum = cab;
    CAB_QUEUE->Name = "cab " + std::to_string(cab);
    CAB_QUEUE.Add(&CAB_QUEUE_ROW::CabNum);
  }
  CAB_QUEUE.Get(7);
  std::ofstream(FilePath(), std::ios::binary | std::ios::trunc) << bytes;

  auto& screen = app_test::UseAnsweringScreen();
  screen.files = {FilePath()};
  Textrope ST;
  LoadFavourites(ST);

  // A file too large to be a favourites file is refused, and the (empty) favourites stay.
  std::map<LONG, std::size_t> expected;
  for (unsigned char b : bytes) {
    if (b % 2 == 1 && bytes.size() <= 64 * 1024) ++expected[b];
  }
  std::map<LONG, std::size_t> loaded;
  for (std::size_t i = 1; i <= FAV_QUEUE.Records(); ++i) {
    const FAV_QUEUE_ROW& row = FAV_QUEUE.Peek(i);
    if (i > 1) FUZZ_CHECK(FAV_QUEUE.Peek(i - 1).CabNum <= row.CabNum);
    FUZZ_CHECK(row.Name == "cab " + std::to_string(row.CabNum));
    ++loaded[row.CabNum];
  }
  FUZZ_CHECK(loaded == expected);
  FUZZ_CHECK(CAB_QUEUE.Pointer() == 7 && CAB_QUEUE->CabNum == 13);
  rt::UseScreen(nullptr);
  return 0;
}
