#pragma once
// An input port fed from inside the process (the simulated device, tests). Each pushed
// piece reaches the reader as one piece, never before its due time and never before the
// pieces pushed earlier.
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <vector>

#include "platform/midi/port.h"

namespace midi {

class BytePipe : public InputPort {
 public:
  using Clock = std::chrono::steady_clock;

  void Push(std::vector<BYTE> bytes, Clock::time_point due = {});

  bool Receive(const Sink& sink, std::chrono::milliseconds timeout) override;
  void Wake() override;
  bool Pending() override;

 private:
  struct Piece {
    std::vector<BYTE> bytes;
    Clock::time_point due;
  };

  std::mutex lock_;
  std::condition_variable changed_;
  std::deque<Piece> pieces_;
  bool handing_ = false;
  bool woken_ = false;
};

}  // namespace midi
