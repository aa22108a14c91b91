#pragma once
// A window that records the MIDI notifications posted to it, pumped by the test thread.
#include <chrono>
#include <functional>
#include <vector>

#include "platform/midi/mmsystem.h"
#include "platform/win/windows/window.h"

namespace midi_test {

struct Notice {
  UINT message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  std::vector<BYTE> data;  // buffers: the recorded bytes when the notice was handled
};

class NoticeWindow {
 public:
  NoticeWindow();
  ~NoticeWindow();
  NoticeWindow(const NoticeWindow&) = delete;
  NoticeWindow& operator=(const NoticeWindow&) = delete;

  HWND hwnd() const { return hwnd_; }
  DWORD_PTR callback() const { return reinterpret_cast<DWORD_PTR>(hwnd_); }
  std::vector<Notice>& notices() { return notices_; }
  std::vector<UINT> Messages() const;
  // Called for each notice as it is handled (after it is recorded).
  std::function<void(const Notice&)> onNotice;

  // Pumps the thread's queue until `done` holds; false on time-out.
  bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = std::chrono::seconds(10));
  // Lets the MIDI back-ends settle, then handles everything queued.
  void Settle();

 private:
  static LRESULT Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  void PumpOnce();

  HWND hwnd_;
  std::vector<Notice> notices_;
};

}  // namespace midi_test
