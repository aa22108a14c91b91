#pragma once
// The wait window of the presenting process: the reporter's caption, its please-wait text
// and the count of stack levels walked. Open while the object lives.
#include "crash/faultscribe.h"

namespace rt {
class Window;
}

namespace crash {

// Whether the fault sequence shows the wait window: asked for, not quiet, and never for a
// stack overflow.
bool WantsWaitWindow(const FaultscribeClass& reporter, DWORD exceptionCode);

class WaitWindow {
 public:
  explicit WaitWindow(FaultscribeClass& reporter);
  ~WaitWindow();
  // Shows the reporter's LevelsDone now.
  void ShowLevelsDone();
  WaitWindow(const WaitWindow&) = delete;
  WaitWindow& operator=(const WaitWindow&) = delete;

 private:
  FaultscribeClass& reporter_;
  rt::Window* window_ = nullptr;
};

}  // namespace crash
