#pragma once
// Writes a long message to a raw port in pieces, letting each piece leave before the next,
// so the device is never overrun.
#include <chrono>
#include <span>

#include "platform/win/types.h"

namespace midi {

// What the writer needs of a raw output port.
class RawOutput {
 public:
  virtual ~RawOutput() = default;
  // Bytes the port took: 0 when it is full for now, negative when it failed.
  virtual long Write(std::span<const BYTE> bytes) = 0;
  // Waits until the port can take bytes; false after `timeout` or on failure.
  virtual bool WaitWritable(std::chrono::milliseconds timeout) = 0;
  // Blocks until everything written has left; false on failure.
  virtual bool Drain() = 0;
};

inline constexpr size_t kOutputChunk = 256;
inline constexpr std::chrono::milliseconds kOutputStall{2000};

// Writes pieces of at most `chunk` bytes and drains after each. False when the port fails
// or takes nothing for `stall`.
bool WriteInChunks(RawOutput& port, std::span<const BYTE> bytes, size_t chunk = kOutputChunk,
                   std::chrono::milliseconds stall = kOutputStall);

}  // namespace midi
