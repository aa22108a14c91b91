#pragma once
// The end of the desktop session, told to the program's windows the way its design expects:
// WM_QUERYENDSESSION to every window, then WM_ENDSESSION (wParam TRUE when every window
// agreed), both through the windows' current procedures, so subclassed procedures see them.
//
// Causes: the session manager's request and SIGHUP are a log-off (lParam ENDSESSION_LOGOFF);
// SIGTERM is the machine shutting down (lParam 0). When every window agreed, the ending
// action closes the program's windows in order, so it saves its settings on the way out; a
// second signal then ends the process at once.
#include <QObject>
#include <functional>
#include <vector>

#include "platform/win/types.h"

class QSessionManager;
class QSocketNotifier;

namespace qtscreen {

class SessionEnd : public QObject {
  Q_OBJECT

 public:
  using WindowList = std::function<std::vector<HWND>()>;
  using Ending = std::function<void()>;

  // One at a time: the signal handlers belong to the newest instance.
  SessionEnd(WindowList windows, Ending ending, QObject* parent = nullptr);
  ~SessionEnd() override;

  // Asks and tells every window; true when the session may end (every window agreed).
  bool End(bool logoff);

 private:
  void OnSignal();
  void OnSessionManager(QSessionManager& manager);

  WindowList windows_;
  Ending ending_;
  QSocketNotifier* notifier_ = nullptr;
};

}  // namespace qtscreen
