#include "crash/present/wait_window.h"

#include <string>

#include "platform/rt/event_loop.h"
#include "platform/rt/props.h"
#include "platform/rt/screen.h"
#include "platform/rt/window.h"
#include "platform/rt/window_def.h"

namespace crash {

WaitWindow::WaitWindow(FaultscribeClass& reporter) : WaitWindow(reporter, reporter.TextForPleaseWait.Clipped(), true) {}

WaitWindow::WaitWindow(FaultscribeClass& reporter, std::string_view message, bool showLevels) : reporter_(reporter) {
  using rt::Kind;
  rt::WindowDef def{.label = "Wait1", .caption = std::string(reporter.WindowTitle.Clipped()),
                    .at = {0, 0, 220, 44}, .centered = true};
  def.controls = {
      {.feq = 1, .equate = "MESSAGE", .kind = Kind::String, .text = std::string(message), .at = {8, 8, 204, 10}},
      {.feq = 2, .equate = "LEVELS", .kind = Kind::String, .text = std::to_string(reporter.LevelsDone),
       .at = {8, 24, 204, 10}, .hidden = !showLevels},
  };
  reporter_.WaitWindowOpen = 1;
  window_ = rt::OpenWindow(def);
  Show();
}

void WaitWindow::ShowLevelsDone() {
  if (window_ == nullptr) return;
  window_->SetProp(2, PROP::Text, std::to_string(reporter_.LevelsDone));
  Show();
}

void WaitWindow::Show() {
  if (window_ == nullptr) return;
  // No event loop runs while the window is up: the screen draws it now.
  rt::PumpMessages();
  rt::CurrentScreen().Paint();
}

WaitWindow::~WaitWindow() {
  reporter_.WaitWindowOpen = 0;
  if (window_ != nullptr) rt::CloseWindow(*window_);
}

}  // namespace crash
