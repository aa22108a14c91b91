#pragma once
// One open input device: a reader thread takes the port's bytes, splits them into
// messages and posts them to the callback window, filling the queued buffers in order.
#include <atomic>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/midi/mmsystem.h"
#include "platform/midi/port.h"
#include "platform/midi/stream_parser.h"

namespace midi {

class InputConnection {
 public:
  InputConnection(HMIDIIN handle, std::unique_ptr<InputPort> port, HWND window, DWORD flags);
  ~InputConnection();

  // Posts MM_MIM_OPEN and starts reading.
  void Begin();
  MMRESULT AddBuffer(MIDIHDR* header);
  void Start();
  void Stop();
  void Reset();
  // MIDIERR_STILLPLAYING while buffers are queued; else stops reading and posts MM_MIM_CLOSE.
  MMRESULT Close();
  // True while input can still move without the program's help.
  bool Busy();

 private:
  void Run();
  void Take(std::span<const BYTE> bytes);
  void DeliverLocked();
  bool DeliverSysExLocked(InputItem& item);
  void ReturnFrontBufferLocked();
  void Post(UINT message, LPARAM lParam);
  void EndReader();

  const HMIDIIN handle_;
  std::unique_ptr<InputPort> port_;
  const HWND window_;
  const bool moreData_;

  std::mutex lock_;
  std::condition_variable drained_;
  std::deque<MIDIHDR*> buffers_;
  std::deque<InputItem> backlog_;
  size_t backlogBytes_ = 0;
  size_t frontOffset_ = 0;  // bytes of the front system-exclusive item already delivered
  StreamParser parser_;
  bool started_ = false;
  std::atomic<bool> stopping_{false};
  std::thread reader_;
};

}  // namespace midi
