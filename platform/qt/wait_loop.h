#pragma once
// The runtime's idle wait on the Qt screen: Qt's event loop runs until the user acts, a
// window message is queued for the thread (from any thread), or the time is up.
#include <chrono>
#include <memory>

namespace qtscreen {

class WaitLoop {
 public:
  // Listens to the calling thread's message queue while it lives.
  WaitLoop();
  ~WaitLoop();
  WaitLoop(const WaitLoop&) = delete;
  WaitLoop& operator=(const WaitLoop&) = delete;

  // Runs Qt's events for at most `upTo`.
  void Run(std::chrono::milliseconds upTo);
  // Ends the current Run early: the user acted and the runtime has events to deliver.
  static void Wake();

 private:
  struct Waker;
  std::shared_ptr<Waker> waker_;
};

}  // namespace qtscreen
