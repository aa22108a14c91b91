// Writes the project's sample cab file (resources/sample-cab.syx): a slotless cab named
// "Boxwright Sample" holding a short decaying click. Usage: boxwright_sample_cab <file>
//
// The click is a damped cosine, y[n] = A r^n cos(n w), made by its recurrence
// y[n] = 2 r cos(w) y[n-1] - r^2 y[n-2] with plain double arithmetic only, so that every
// machine writes the same bytes. Samples are signed 32-bit numbers, full scale 2^31.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "platform/midi/cab_file_format.h"

namespace {

constexpr double kDecay = 0.97;      // per sample: about 4 ms at 48 kHz
constexpr double kCosine = 0.95;     // of the resonance's angle per sample (about 2.4 kHz)
constexpr double kPeak = 0.5 * 2147483648.0;

std::vector<std::int32_t> Click() {
  std::vector<std::int32_t> samples(midi::kCabSamples);
  double now = kPeak;
  double next = kPeak * kDecay * kCosine;
  for (auto& sample : samples) {
    sample = static_cast<std::int32_t>(std::lround(now));
    const double after = 2.0 * kDecay * kCosine * next - kDecay * kDecay * now;
    now = next;
    next = after;
  }
  return samples;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <file>\n", argv[0]);
    return 2;
  }
  const std::vector<std::int32_t> samples = Click();
  const std::vector<BYTE> file = midi::MakeCabFile("Boxwright Sample", samples);
  std::FILE* out = std::fopen(argv[1], "wb");
  if (!out) {
    std::perror(argv[1]);
    return 1;
  }
  const bool written = std::fwrite(file.data(), 1, file.size(), out) == file.size();
  if (std::fclose(out) != 0 || !written) {
    std::perror(argv[1]);
    return 1;
  }
  return 0;
}
