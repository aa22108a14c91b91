#pragma once
// What every window of the librarian does alike: its procedure name on the error manager's
// stack while it runs, the session-end alert, its geometry kept in the settings in a section
// named after the procedure, and a move inside the visible desktop once it has opened.
// A derived window overrides handlers as usual, calling this class first.
#include <string>

#include "platform/framework/toolbar.h"
#include "platform/framework/window_manager.h"

// Posted by each window to itself when it opens; its handler moves the window inside the
// visible desktop.
inline constexpr int EnsureVisibleEvent = 1450;

class LibrarianWindow : public WindowManager {
 public:
  explicit LibrarianWindow(std::string procedure) : procedure_(std::move(procedure)) {}

  int Init() override;
  int TakeEvent() override;
  int TakeWindowEvent() override;
  int Kill() override;

 protected:
  // The window's definition, opened by Init.
  virtual const rt::WindowDef& Definition() const = 0;
  // Runs once the window is open, before its saved geometry is restored.
  virtual void Opening() {}

 private:
  std::string procedure_;
  ToolbarClass toolbar_;
};
