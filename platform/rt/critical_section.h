#pragma once
// The runtime's process-wide lock object. The same thread may Wait again without blocking;
// it must Release as often as it waited.
#include <mutex>

class CriticalSection {
 public:
  void Wait() { lock_.lock(); }
  void Release() { lock_.unlock(); }

 private:
  std::recursive_mutex lock_;
};
