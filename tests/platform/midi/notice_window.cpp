#include "tests/platform/midi/notice_window.h"

#include "platform/midi/idle.h"

namespace midi_test {

NoticeWindow::NoticeWindow() : hwnd_(CreateWindowHandle(Procedure)) {
  SetWindowLongA(hwnd_, GWL_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

NoticeWindow::~NoticeWindow() { DestroyWindow(hwnd_); }

std::vector<UINT> NoticeWindow::Messages() const {
  std::vector<UINT> messages;
  for (const auto& notice : notices_) messages.push_back(notice.message);
  return messages;
}

LRESULT NoticeWindow::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<NoticeWindow*>(GetWindowLongA(hwnd, GWL_USERDATA));
  if (!self) return 0;
  Notice notice{message, wParam, lParam, {}};
  if (message == MM_MIM_LONGDATA && lParam != 0) {
    auto* header = reinterpret_cast<MIDIHDR*>(lParam);
    notice.data.assign(header->lpData, header->lpData + header->dwBytesRecorded);
  }
  self->notices_.push_back(notice);
  if (self->onNotice) self->onNotice(self->notices_.back());
  return 0;
}

void NoticeWindow::PumpOnce() {
  MSG msg;
  while (PeekMessageA(&msg, true)) DispatchMessageA(&msg);
}

bool NoticeWindow::PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
  auto deadline = std::chrono::steady_clock::now() + limit;
  for (;;) {
    PumpOnce();
    if (done()) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    WaitMessageA(std::chrono::milliseconds(20));
  }
}

void NoticeWindow::Settle() {
  // Handling a notice may queue a buffer, which lets more input through.
  for (;;) {
    midi::WaitUntilIdle();
    MSG msg;
    if (!PeekMessageA(&msg, false)) return;
    PumpOnce();
  }
}

}  // namespace midi_test
