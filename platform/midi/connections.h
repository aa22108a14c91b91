#pragma once
// The open devices, found by handle. Handles are numbers that are never reused, so a
// closed or made-up handle is recognised instead of followed.
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <type_traits>
#include <vector>

#include "platform/midi/input_connection.h"
#include "platform/midi/output_connection.h"

namespace midi {

template <typename Connection, typename Handle>
class ConnectionTable {
 public:
  explicit ConnectionTable(std::uintptr_t firstHandle) : next_(firstHandle) {}

  Handle NewHandle() {
    std::lock_guard guard(lock_);
    return reinterpret_cast<Handle>(next_++);
  }
  void Insert(Handle handle, std::shared_ptr<Connection> connection) {
    std::lock_guard guard(lock_);
    open_[handle] = std::move(connection);
  }
  std::shared_ptr<Connection> Find(Handle handle) {
    std::lock_guard guard(lock_);
    auto it = open_.find(handle);
    return it == open_.end() ? nullptr : it->second;
  }
  void Remove(Handle handle) {
    std::shared_ptr<Connection> gone;
    std::lock_guard guard(lock_);
    auto it = open_.find(handle);
    if (it == open_.end()) return;
    gone = std::move(it->second);
    open_.erase(it);
  }
  // Runs call on the handle's connection; a closed or made-up handle is MMSYSERR_INVALHANDLE.
  template <typename Call>
  MMRESULT With(Handle handle, Call call) {
    std::shared_ptr<Connection> connection = Find(handle);
    if (!connection) return MMSYSERR_INVALHANDLE;
    if constexpr (std::is_void_v<decltype(call(*connection))>) {
      call(*connection);
      return MMSYSERR_NOERROR;
    } else {
      return call(*connection);
    }
  }
  std::vector<std::shared_ptr<Connection>> All() {
    std::lock_guard guard(lock_);
    std::vector<std::shared_ptr<Connection>> all;
    for (auto& [handle, connection] : open_) all.push_back(connection);
    return all;
  }

 private:
  std::mutex lock_;
  std::uintptr_t next_;
  std::map<Handle, std::shared_ptr<Connection>> open_;
};

ConnectionTable<InputConnection, HMIDIIN>& InputConnections();
ConnectionTable<OutputConnection, HMIDIOUT>& OutputConnections();

}  // namespace midi
