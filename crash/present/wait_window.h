#pragma once
// The wait window of the presenting process: the reporter's caption, a please-wait text and
// the count of stack levels walked. Open while the object lives.
#include <string_view>

#include "crash/faultscribe.h"

namespace rt {
class Window;
}

namespace crash {

class WaitWindow {
 public:
  // While the report is built: TextForPleaseWait and the levels.
  explicit WaitWindow(FaultscribeClass& reporter);
  // While the mail program starts: its own text, and the levels only when asked.
  WaitWindow(FaultscribeClass& reporter, std::string_view message, bool showLevels);
  ~WaitWindow();
  // Shows the reporter's LevelsDone now.
  void ShowLevelsDone();
  WaitWindow(const WaitWindow&) = delete;
  WaitWindow& operator=(const WaitWindow&) = delete;

 private:
  void Show();

  FaultscribeClass& reporter_;
  rt::Window* window_ = nullptr;
};

}  // namespace crash
