#include "platform/qt/qt_screen.h"

#include <QApplication>
#include <QEventLoop>

#include "platform/qt/desktop_publisher.h"
#include "platform/qt/dialogs.h"
#include "platform/qt/session_end.h"
#include "platform/qt/wait_loop.h"
#include "platform/qt/window_view.h"
#include "platform/rt/user_action.h"

namespace qtscreen {

QtScreen::QtScreen(std::unique_ptr<QApplication> application, std::unique_ptr<FontWarmUp> fonts)
    : fonts_(std::move(fonts)),
      application_(std::move(application)),
      desktop_(std::make_unique<DesktopPublisher>()),
      session_(std::make_unique<SessionEnd>(
          [this] {
            std::vector<HWND> frames;
            for (const auto& view : views_) frames.push_back(view->Runtime().Frame());
            return frames;
          },
          // Top windows first, so that a modal window is closed before the one beneath it.
          [this] {
            for (auto it = views_.rbegin(); it != views_.rend(); ++it) rt::user::Close((*it)->Runtime());
            WaitLoop::Wake();
          })) {}

QtScreen::~QtScreen() = default;

void QtScreen::WindowOpened(rt::Window& window) {
  FontsReady();
  // The window is built hidden and shown once every control stands where it belongs.
  views_.push_back(std::make_unique<WindowView>(window, window.Def().modal ? Owner() : nullptr));
}

// The window a new dialog belongs to: the top one shown.
QWidget* QtScreen::Owner() const {
  for (auto it = views_.rbegin(); it != views_.rend(); ++it) {
    if ((*it)->isVisible()) return it->get();
  }
  return nullptr;
}

void QtScreen::WindowClosed(rt::Window& window) {
  std::erase_if(views_, [&](const auto& view) { return &view->Runtime() == &window; });
}

void QtScreen::ControlCreated(rt::Window& window, int field) {
  if (WindowView* view = ViewOf(window)) view->ControlCreated(field);
}

void QtScreen::PropertyChanged(rt::Window& window, int field, int prop, int) {
  if (WindowView* view = ViewOf(window)) view->PropertyChanged(field, prop);
}

void QtScreen::ListChanged(rt::Window& window, int field) {
  if (WindowView* view = ViewOf(window)) view->ListChanged(field);
}

void QtScreen::Wait(std::chrono::milliseconds upTo) { waitLoop_.Run(upTo); }

int QtScreen::Message(const rt::MessageRequest& request) {
  FontsReady();
  return ShowMessage(request, Owner());
}

std::optional<std::string> QtScreen::ChooseFile(const rt::FileRequest& request) {
  FontsReady();
  return ShowFileDialog(request, Owner());
}

int QtScreen::Popup(const rt::PopupRequest& request) {
  FontsReady();
  return ShowPopup(request, Owner());
}

void QtScreen::Beep() { QApplication::beep(); }

void QtScreen::Paint() {
  // Windows are mapped and drawn by Qt's own events; the user's input waits for the loop.
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void QtScreen::CommitEdit(rt::Window& window) {
  if (WindowView* view = ViewOf(window)) view->CommitFocusedEdit();
}

void QtScreen::FontsReady() {
  if (fonts_) fonts_->Wait();
}

WindowView* QtScreen::ViewOf(const rt::Window& window) const {
  for (const auto& view : views_) {
    if (&view->Runtime() == &window) return view.get();
  }
  return nullptr;
}

}  // namespace qtscreen
