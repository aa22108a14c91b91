#pragma once
// One open output device: a writer thread hands each message to the port in order and
// posts MM_MOM_DONE for every long message once it is written.
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/midi/mmsystem.h"
#include "platform/midi/port.h"

namespace midi {

class OutputConnection {
 public:
  OutputConnection(HMIDIOUT handle, std::unique_ptr<OutputPort> port, HWND window);
  ~OutputConnection();

  // Posts MM_MOM_OPEN and starts the writer.
  void Begin();
  // Queues a copy of the bytes; `header` (may be null for a short message) is named by
  // MM_MOM_DONE. MMSYSERR_NODRIVER once the port has failed.
  MMRESULT Send(std::vector<BYTE> bytes, const MIDIHDR* header);
  // Writes what is queued, then posts MM_MOM_CLOSE.
  void Close();
  bool Busy();

 private:
  struct Job {
    std::vector<BYTE> bytes;
    const MIDIHDR* header;
  };

  void Run();
  void EndWriter();
  void Post(UINT message, LPARAM lParam);

  const HMIDIOUT handle_;
  std::unique_ptr<OutputPort> port_;
  const HWND window_;

  std::mutex lock_;
  std::condition_variable queued_;
  std::deque<Job> jobs_;
  bool writing_ = false;
  bool stopping_ = false;
  bool failed_ = false;
  std::thread writer_;
};

}  // namespace midi
