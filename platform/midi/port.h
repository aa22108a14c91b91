#pragma once
// What a back-end offers for one open device: a byte stream from it, a byte stream to it.
#include <chrono>
#include <functional>
#include <span>

#include "platform/win/types.h"

namespace midi {

class InputPort {
 public:
  using Sink = std::function<void(std::span<const BYTE>)>;
  virtual ~InputPort() = default;
  // Waits up to `timeout` for input and hands what arrived to `sink` on the calling
  // thread. False once the port has failed for good.
  virtual bool Receive(const Sink& sink, std::chrono::milliseconds timeout) = 0;
  // Ends a Receive that is waiting (from any thread).
  virtual void Wake() = 0;
  // True while input is waiting, is due later, or is being handed to a sink.
  virtual bool Pending() = 0;
};

class OutputPort {
 public:
  virtual ~OutputPort() = default;
  // Writes every byte, at the pace the device takes them. False when the port failed.
  virtual bool Send(std::span<const BYTE> bytes) = 0;
};

}  // namespace midi
