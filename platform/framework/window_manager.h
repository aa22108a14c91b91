#pragma once
// The window controller: one per run of a window procedure (`ThisWindow`).
//
//   Run()  = Init(); Ask() when Init returned Level::Benign; Kill(); the window closes;
//            returns Response.
//   Ask()  runs the window's event loop, handing each event to TakeEvent(), which passes a
//          window event (FIELD() 0) to TakeWindowEvent(), an Accepted field event to
//          TakeAccepted(), a NewSelection to TakeNewSelection(), and every field event the
//          handler left Benign to TakeFieldEvent().
//
// A derived window overrides the handlers, calls the parent first and returns the parent's
// level unless it has its own: Level::Benign carries on, Level::Notify consumes the event
// (a consumed CloseWindow keeps the window open), Level::Fatal leaves the loop.
// The derived Init opens its window with Open(); Kill runs while the window is still open
// (so that its geometry can be saved); the window closes when Kill has returned.
// A window run from another window's handler is modal to it: the caller's events wait
// until this window's loop has ended.
#include <vector>

#include "platform/framework/levels.h"
#include "platform/rt/window.h"
#include "platform/rt/window_def.h"

class WindowResizeClass;
class ToolbarClass;

// The request and response passed between a window and the one that runs it, per thread.
extern thread_local int GlobalRequest;
extern thread_local int GlobalResponse;
extern thread_local int VCRRequest;

class WindowManager {
 public:
  WindowManager() = default;
  WindowManager(const WindowManager&) = delete;
  WindowManager& operator=(const WindowManager&) = delete;
  // A window still open when its controller goes (the procedure returns) closes.
  virtual ~WindowManager();

  virtual int Run();
  virtual int Init();
  virtual void Ask();
  virtual int Kill();

  virtual int TakeEvent();
  virtual int TakeWindowEvent();
  virtual int TakeAccepted();
  virtual int TakeNewSelection();
  virtual int TakeFieldEvent();

  // Shows the variables again (DISPLAY of every control).
  virtual void Reset();

  // Opens the window from its definition; false (and Opened stays false) when it cannot.
  bool Open(const rt::WindowDef& def);
  rt::Window* Window() const { return window_; }

  // The resizer follows the window's size changes until Kill lets it go; it stays owned by
  // the caller. A toolbar attaches without effect (toolbar.h).
  void AddItem(WindowResizeClass& resizer);
  void AddItem(ToolbarClass&) {}

  bool Opened = false;
  bool Dead = false;  // Kill has run
  int Request = 0;
  int Response = RequestCancelled;

 private:
  void Close();

  rt::Window* window_ = nullptr;
  std::vector<WindowResizeClass*> resizers_;
};
