// Replays saved inputs through a fuzz target built with the normal compiler: every file in the
// folders (or the files) named on the command line, in name order. A broken rule or a crash
// ends the run, and the last "input:" line names the input that did it.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

namespace fs = std::filesystem;

std::vector<fs::path> InputsIn(const fs::path& place) {
  std::vector<fs::path> inputs;
  std::error_code error;
  if (fs::is_regular_file(place, error)) {
    inputs.push_back(place);
  } else if (fs::is_directory(place, error)) {
    for (const auto& entry : fs::directory_iterator(place)) {
      if (entry.is_regular_file()) inputs.push_back(entry.path());
    }
  }
  std::sort(inputs.begin(), inputs.end());
  return inputs;
}

}  // namespace

int main(int argc, char** argv) {
  std::size_t replayed = 0;
  for (int i = 1; i < argc; ++i) {
    for (const auto& path : InputsIn(argv[i])) {
      std::ifstream file(path, std::ios::binary);
      std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
      std::fprintf(stderr, "input: %s\n", path.c_str());
      LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
      ++replayed;
    }
  }
  std::printf("%zu inputs replayed\n", replayed);
  // A target with nothing to replay is a mistake in the build, not a pass.
  return replayed > 0 ? 0 : 1;
}
