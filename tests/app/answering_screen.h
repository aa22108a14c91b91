#pragma once
// A screen for tests that call the librarian's routines directly: it answers each dialog
// from what the test queued and keeps what was asked.
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/rt/screen.h"

namespace app_test {

class AnsweringScreen final : public rt::Screen {
 public:
  // The answers, in order: a button text for messages, a path (or nullopt: cancel) for files.
  std::deque<std::string> buttons;
  std::deque<std::optional<std::string>> files;

  std::vector<rt::MessageRequest> messages;
  std::vector<rt::FileRequest> fileRequests;
  int beeps = 0;

  void WindowOpened(rt::Window&) override {}
  void WindowClosed(rt::Window&) override {}
  void PropertyChanged(rt::Window&, int, int, int) override {}
  void ListChanged(rt::Window&, int) override {}
  void Wait(std::chrono::milliseconds) override {}
  int Message(const rt::MessageRequest& request) override;
  std::optional<std::string> ChooseFile(const rt::FileRequest& request) override;
  int Popup(const rt::PopupRequest&) override { return 0; }
  void Beep() override { ++beeps; }
};

// Installs a fresh AnsweringScreen for the test's life and gives it back.
AnsweringScreen& UseAnsweringScreen();

}  // namespace app_test
