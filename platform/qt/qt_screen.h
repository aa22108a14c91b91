#pragma once
// The screen users see: every runtime window as a Qt window, the runtime's dialogs as Qt
// dialogs, the runtime's idle wait as Qt's event loop. It also publishes the desktop
// metrics and passes the end of the desktop session to the windows.
#include <memory>
#include <vector>

#include "platform/qt/font_warm_up.h"
#include "platform/qt/wait_loop.h"
#include "platform/rt/screen.h"

class QApplication;
class QWidget;

namespace qtscreen {

class DesktopPublisher;
class SessionEnd;
class WindowView;

class QtScreen final : public rt::Screen {
 public:
  // Needs a QApplication for its whole life: the one running, or `application`, which the
  // screen then ends last. `fonts`, when given, is waited for before the first text.
  explicit QtScreen(std::unique_ptr<QApplication> application = nullptr, std::unique_ptr<FontWarmUp> fonts = nullptr);
  ~QtScreen() override;

  void WindowOpened(rt::Window& window) override;
  void WindowClosed(rt::Window& window) override;
  void ControlCreated(rt::Window& window, int field) override;
  void PropertyChanged(rt::Window& window, int field, int prop, int index) override;
  void ListChanged(rt::Window& window, int field) override;
  void Wait(std::chrono::milliseconds upTo) override;
  int Message(const rt::MessageRequest& request) override;
  std::optional<std::string> ChooseFile(const rt::FileRequest& request) override;
  int Popup(const rt::PopupRequest& request) override;
  void Beep() override;
  void CommitEdit(rt::Window& window) override;
  void Paint() override;

  // The Qt window of an open runtime window; nullptr when it has none.
  WindowView* ViewOf(const rt::Window& window) const;
  // The window a new dialog belongs to: the top one shown; null when none is.
  QWidget* Owner() const;

 private:
  void FontsReady();

  std::unique_ptr<FontWarmUp> fonts_;
  std::unique_ptr<QApplication> application_;
  std::vector<std::unique_ptr<WindowView>> views_;  // in opening order
  std::unique_ptr<DesktopPublisher> desktop_;
  std::unique_ptr<SessionEnd> session_;
  WaitLoop waitLoop_;
};

}  // namespace qtscreen
