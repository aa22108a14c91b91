#include "platform/midi/byte_pipe.h"

#include <algorithm>

namespace midi {

void BytePipe::Push(std::vector<BYTE> bytes, Clock::time_point due) {
  {
    std::lock_guard guard(lock_);
    if (!pieces_.empty()) due = std::max(due, pieces_.back().due);
    pieces_.push_back({std::move(bytes), due});
  }
  changed_.notify_all();
}

bool BytePipe::Receive(const Sink& sink, std::chrono::milliseconds timeout) {
  std::vector<BYTE> bytes;
  {
    std::unique_lock guard(lock_);
    auto until = Clock::now() + timeout;
    for (;;) {
      if (woken_) {
        woken_ = false;
        return true;
      }
      auto now = Clock::now();
      if (!pieces_.empty() && pieces_.front().due <= now) break;
      if (now >= until) return true;
      auto wakeAt = pieces_.empty() ? until : std::min(until, pieces_.front().due);
      changed_.wait_until(guard, wakeAt);
    }
    bytes = std::move(pieces_.front().bytes);
    pieces_.pop_front();
    // Still counts as pending until the sink has taken it, so an idle check never falls
    // between the pipe and the reader.
    handing_ = true;
  }
  sink(bytes);
  std::lock_guard guard(lock_);
  handing_ = false;
  return true;
}

void BytePipe::Wake() {
  {
    std::lock_guard guard(lock_);
    woken_ = true;
  }
  changed_.notify_all();
}

bool BytePipe::Pending() {
  std::lock_guard guard(lock_);
  return handing_ || !pieces_.empty();
}

}  // namespace midi
