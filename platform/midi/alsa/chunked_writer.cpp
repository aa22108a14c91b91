#include "platform/midi/alsa/chunked_writer.h"

#include <algorithm>

namespace midi {

bool WriteInChunks(RawOutput& port, std::span<const BYTE> bytes, size_t chunk, std::chrono::milliseconds stall) {
  chunk = std::max<size_t>(chunk, 1);
  while (!bytes.empty()) {
    std::span<const BYTE> piece = bytes.first(std::min(chunk, bytes.size()));
    while (!piece.empty()) {
      long taken = port.Write(piece);
      if (taken < 0) return false;
      if (taken == 0) {
        if (!port.WaitWritable(stall)) return false;
        continue;
      }
      size_t count = std::min(static_cast<size_t>(taken), piece.size());
      piece = piece.subspan(count);
      bytes = bytes.subspan(count);
    }
    if (!port.Drain()) return false;
  }
  return true;
}

}  // namespace midi
