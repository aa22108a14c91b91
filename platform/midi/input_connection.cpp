#include "platform/midi/input_connection.h"

#include <algorithm>
#include <cstring>

#include "platform/win/modules/unhandled_exception_filter.h"
#include "platform/win/windows/window.h"

namespace midi {

namespace {
// Input that waits for the program to queue a buffer is held up to this much; beyond it
// the reader stops taking bytes, so the device side holds them instead.
constexpr size_t kMaxBacklog = 1 << 20;
constexpr auto kReceiveSlice = std::chrono::milliseconds(200);
}  // namespace

InputConnection::InputConnection(HMIDIIN handle, std::unique_ptr<InputPort> port, HWND window, DWORD flags)
    : handle_(handle), port_(std::move(port)), window_(window), moreData_((flags & MIDI_IO_STATUS) != 0) {}

InputConnection::~InputConnection() { EndReader(); }

void InputConnection::Begin() {
  Post(MM_MIM_OPEN, 0);
  reader_ = std::thread([this] {
    win::PrepareThreadForFaults();
    Run();
  });
}

MMRESULT InputConnection::AddBuffer(MIDIHDR* header) {
  {
    std::lock_guard guard(lock_);
    header->dwBytesRecorded = 0;
    header->dwFlags = (header->dwFlags & ~MHDR_DONE) | MHDR_INQUEUE;
    buffers_.push_back(header);
  }
  // Waiting input moves on from the reader thread.
  port_->Wake();
  return MMSYSERR_NOERROR;
}

void InputConnection::Start() {
  std::lock_guard guard(lock_);
  if (started_) return;
  started_ = true;
  parser_.Reset();
}

void InputConnection::Stop() {
  std::lock_guard guard(lock_);
  started_ = false;
  backlog_.clear();
  backlogBytes_ = 0;
  frontOffset_ = 0;
  if (!buffers_.empty() && buffers_.front()->dwBytesRecorded > 0) ReturnFrontBufferLocked();
  drained_.notify_all();
}

void InputConnection::Reset() {
  Stop();
  std::lock_guard guard(lock_);
  while (!buffers_.empty()) ReturnFrontBufferLocked();
}

MMRESULT InputConnection::Close() {
  {
    std::lock_guard guard(lock_);
    if (!buffers_.empty()) return MIDIERR_STILLPLAYING;
  }
  EndReader();
  Post(MM_MIM_CLOSE, 0);
  return MMSYSERR_NOERROR;
}

bool InputConnection::Busy() {
  // The port first: whatever it hands over afterwards is already in the backlog.
  if (port_->Pending()) return true;
  std::lock_guard guard(lock_);
  if (backlog_.empty()) return false;
  return backlog_.front().kind != InputItem::Kind::SysEx || !buffers_.empty();
}

void InputConnection::EndReader() {
  if (!reader_.joinable()) return;
  stopping_ = true;
  {
    std::lock_guard guard(lock_);
    drained_.notify_all();
  }
  port_->Wake();
  reader_.join();
}

void InputConnection::Run() {
  auto sink = [this](std::span<const BYTE> bytes) { Take(bytes); };
  while (!stopping_) {
    {
      std::unique_lock guard(lock_);
      DeliverLocked();
      if (backlogBytes_ > kMaxBacklog) {
        drained_.wait_for(guard, kReceiveSlice);
        continue;
      }
    }
    if (!port_->Receive(sink, kReceiveSlice)) break;
  }
}

void InputConnection::Take(std::span<const BYTE> bytes) {
  std::lock_guard guard(lock_);
  if (!started_) return;
  std::vector<InputItem> items;
  parser_.Feed(bytes, items);
  for (auto& item : items) {
    backlogBytes_ += item.bytes.size() + 1;
    backlog_.push_back(std::move(item));
  }
  DeliverLocked();
}

void InputConnection::DeliverLocked() {
  while (!backlog_.empty()) {
    InputItem& item = backlog_.front();
    switch (item.kind) {
      case InputItem::Kind::Data:
        Post(moreData_ && backlog_.size() > 1 ? MM_MIM_MOREDATA : MM_MIM_DATA, static_cast<LPARAM>(item.message));
        break;
      case InputItem::Kind::Error:
        Post(MM_MIM_ERROR, static_cast<LPARAM>(item.message));
        break;
      case InputItem::Kind::SysEx:
        if (!DeliverSysExLocked(item)) return;
        break;
      case InputItem::Kind::BrokenSysEx: {
        // The buffer is reused from its start, so the program keeps receiving.
        MIDIHDR* current = buffers_.empty() ? nullptr : buffers_.front();
        if (current) current->dwBytesRecorded = 0;
        Post(MM_MIM_LONGERROR, reinterpret_cast<LPARAM>(current));
        break;
      }
    }
    backlogBytes_ -= item.bytes.size() + 1;
    backlog_.pop_front();
    frontOffset_ = 0;
  }
  drained_.notify_all();
}

bool InputConnection::DeliverSysExLocked(InputItem& item) {
  for (;;) {
    if (buffers_.empty()) return false;
    MIDIHDR* buffer = buffers_.front();
    size_t left = item.bytes.size() - frontOffset_;
    size_t room = buffer->dwBufferLength - buffer->dwBytesRecorded;
    size_t count = std::min(left, room);
    if (count > 0) {
      std::memcpy(buffer->lpData + buffer->dwBytesRecorded, item.bytes.data() + frontOffset_, count);
      buffer->dwBytesRecorded += static_cast<DWORD>(count);
      frontOffset_ += count;
    }
    bool full = buffer->dwBytesRecorded == buffer->dwBufferLength;
    bool ended = item.complete && frontOffset_ == item.bytes.size();
    if (full || ended) ReturnFrontBufferLocked();
    if (frontOffset_ == item.bytes.size()) return true;
  }
}

void InputConnection::ReturnFrontBufferLocked() {
  MIDIHDR* buffer = buffers_.front();
  buffers_.pop_front();
  buffer->dwFlags = (buffer->dwFlags & ~MHDR_INQUEUE) | MHDR_DONE;
  Post(MM_MIM_LONGDATA, reinterpret_cast<LPARAM>(buffer));
}

void InputConnection::Post(UINT message, LPARAM lParam) {
  if (window_) PostMessageA(window_, message, reinterpret_cast<WPARAM>(handle_), lParam);
}

}  // namespace midi
