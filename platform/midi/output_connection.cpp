#include "platform/midi/output_connection.h"

#include "platform/win/modules/unhandled_exception_filter.h"
#include "platform/win/windows/window.h"

namespace midi {

OutputConnection::OutputConnection(HMIDIOUT handle, std::unique_ptr<OutputPort> port, HWND window)
    : handle_(handle), port_(std::move(port)), window_(window) {}

OutputConnection::~OutputConnection() { EndWriter(); }

void OutputConnection::Begin() {
  Post(MM_MOM_OPEN, 0);
  writer_ = std::thread([this] {
    win::PrepareThreadForFaults();
    Run();
  });
}

MMRESULT OutputConnection::Send(std::vector<BYTE> bytes, const MIDIHDR* header) {
  {
    std::lock_guard guard(lock_);
    if (failed_) return MMSYSERR_NODRIVER;
    jobs_.push_back({std::move(bytes), header});
  }
  queued_.notify_all();
  return MMSYSERR_NOERROR;
}

void OutputConnection::Close() {
  EndWriter();
  Post(MM_MOM_CLOSE, 0);
}

bool OutputConnection::Busy() {
  std::lock_guard guard(lock_);
  return writing_ || !jobs_.empty();
}

void OutputConnection::EndWriter() {
  if (!writer_.joinable()) return;
  {
    std::lock_guard guard(lock_);
    stopping_ = true;
  }
  queued_.notify_all();
  writer_.join();
}

void OutputConnection::Run() {
  std::unique_lock guard(lock_);
  for (;;) {
    queued_.wait(guard, [this] { return stopping_ || !jobs_.empty(); });
    if (jobs_.empty()) return;
    Job job = std::move(jobs_.front());
    jobs_.pop_front();
    writing_ = true;
    guard.unlock();
    // A failed port drops the rest: the program learns it from the next send.
    bool written = !failed_ && port_->Send(job.bytes);
    guard.lock();
    if (!written) failed_ = true;
    if (job.header) Post(MM_MOM_DONE, reinterpret_cast<LPARAM>(job.header));
    writing_ = false;
  }
}

void OutputConnection::Post(UINT message, LPARAM lParam) {
  if (window_) PostMessageA(window_, message, reinterpret_cast<WPARAM>(handle_), lParam);
}

}  // namespace midi
