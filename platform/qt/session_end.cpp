#include "platform/qt/session_end.h"

#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

#include "platform/win/windows/messages.h"
#include "platform/win/windows/window.h"

namespace qtscreen {
namespace {

// The signal handler may only write to a pipe; the event loop reads the other end.
int gSignalPipe[2] = {-1, -1};
struct sigaction gPreviousTerm {};
struct sigaction gPreviousHup {};

void OnSignalCaught(int signal) {
  const char code = static_cast<char>(signal);
  [[maybe_unused]] ssize_t written = write(gSignalPipe[1], &code, 1);
}

void Install(int signal, struct sigaction* previous) {
  struct sigaction action {};
  action.sa_handler = OnSignalCaught;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(signal, &action, previous);
}

// A second request while the windows close must not wait for them.
void RestoreDefaults() {
  signal(SIGTERM, SIG_DFL);
  signal(SIGHUP, SIG_DFL);
}

}  // namespace

SessionEnd::SessionEnd(WindowList windows, Ending ending, QObject* parent)
    : QObject(parent), windows_(std::move(windows)), ending_(std::move(ending)) {
  if (gSignalPipe[0] < 0 && pipe2(gSignalPipe, O_CLOEXEC | O_NONBLOCK) != 0) gSignalPipe[0] = gSignalPipe[1] = -1;
  if (gSignalPipe[0] >= 0) {
    notifier_ = new QSocketNotifier(gSignalPipe[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &SessionEnd::OnSignal);
    Install(SIGTERM, &gPreviousTerm);
    Install(SIGHUP, &gPreviousHup);
  }
#ifndef QT_NO_SESSIONMANAGER
  if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
    connect(app, &QGuiApplication::commitDataRequest, this, &SessionEnd::OnSessionManager, Qt::DirectConnection);
#endif
}

SessionEnd::~SessionEnd() {
  if (notifier_) {
    sigaction(SIGTERM, &gPreviousTerm, nullptr);
    sigaction(SIGHUP, &gPreviousHup, nullptr);
  }
}

bool SessionEnd::End(bool logoff) {
  const LPARAM reason = logoff ? ENDSESSION_LOGOFF : 0;
  const std::vector<HWND> windows = windows_();
  bool agreed = true;
  for (HWND hwnd : windows) {
    if (IsWindow(hwnd) && SendMessageA(hwnd, WM_QUERYENDSESSION, 0, reason) == 0) agreed = false;
  }
  for (HWND hwnd : windows) {
    if (IsWindow(hwnd)) SendMessageA(hwnd, WM_ENDSESSION, agreed ? TRUE : FALSE, reason);
  }
  if (agreed) {
    RestoreDefaults();
    if (ending_) ending_();
  }
  return agreed;
}

void SessionEnd::OnSignal() {
  char codes[16];
  ssize_t count = read(gSignalPipe[0], codes, sizeof codes);
  if (count <= 0) return;
  // Several signals at once end the session once; a log-off wins over a shutdown.
  bool logoff = false;
  for (ssize_t i = 0; i < count; ++i) logoff = logoff || codes[i] == SIGHUP;
  End(logoff);
}

void SessionEnd::OnSessionManager(QSessionManager& manager) {
  if (!End(true)) manager.cancel();
}

}  // namespace qtscreen
