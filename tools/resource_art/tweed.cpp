#include <QtMath>

#include "art.h"

// A 2/2 twill: each warp thread passes over two weft threads and under two, shifted by one
// thread per row, which gives tweed its diagonal stripes. The tile holds whole repeats in
// both directions, so it tiles without seams.
namespace {

constexpr int kThread = 3;            // pixels per thread
constexpr int kRepeat = 4 * kThread;  // one twill repeat
constexpr int kTile = 8 * kRepeat;

// Small deterministic noise, so every build draws the same picture.
double Noise(unsigned x, unsigned y, unsigned salt) {
  unsigned h = x * 374761393u + y * 668265263u + salt * 2246822519u;
  h = (h ^ (h >> 13)) * 1274126177u;
  h ^= h >> 16;
  return (h & 0xFFFF) / 65535.0 - 0.5;
}

// Round yarn: bright along its middle, darker at its edges.
double Roundness(int offsetInThread) {
  const double t = (offsetInThread + 0.5) / kThread;
  return 0.82 + 0.18 * qSin(t * M_PI);
}

}  // namespace

namespace art {

QImage TweedTile() {
  QImage image(kTile, kTile, QImage::Format_RGB32);
  // Black 8-point text sits on this: even the darkest pixel of the dark yarn keeps at least
  // 5:1 contrast with it (4.5:1 is what small text needs).
  const double light[3] = {232, 214, 168};
  const double dark[3] = {184, 152, 104};
  const double lacquer[3] = {1.0, 0.95, 0.82};
  for (int y = 0; y < kTile; ++y) {
    for (int x = 0; x < kTile; ++x) {
      const int warp = x / kThread, weft = y / kThread;
      const bool warpOnTop = (warp + weft) % 4 < 2;
      const double* yarn = warpOnTop ? light : dark;
      const int across = warpOnTop ? x % kThread : y % kThread;
      const unsigned strand = warpOnTop ? unsigned(warp) : unsigned(weft) + 1000u;
      const double shade = Roundness(across) * (1.0 + 0.06 * Noise(strand, 0, 7)) + 0.05 * Noise(x, y, 3);
      int rgb[3];
      for (int c = 0; c < 3; ++c) rgb[c] = qBound(0, int(yarn[c] * shade * lacquer[c]), 255);
      image.setPixel(x, y, qRgb(rgb[0], rgb[1], rgb[2]));
    }
  }
  return image;
}

}  // namespace art
