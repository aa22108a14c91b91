#pragma once
// A screen for tests that call the librarian's routines directly: it answers each dialog
// from what the test queued and keeps what was asked.
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/rt/screen.h"

namespace app_test {

class AnsweringScreen final : public rt::Screen {
 public:
  // The file dialogs' answers, in order: a path, or nullopt to cancel. Messages are answered
  // with their default button.
  std::deque<std::optional<std::string>> files;

  std::vector<rt::MessageRequest> messages;
  std::vector<rt::FileRequest> fileRequests;

  void WindowOpened(rt::Window&) override {}
  void WindowClosed(rt::Window&) override {}
  void PropertyChanged(rt::Window&, int, int, int) override {}
  void ListChanged(rt::Window&, int) override {}
  void Wait(std::chrono::milliseconds) override {}
  int Popup(const rt::PopupRequest&) override { return 0; }
  void Beep() override {}
  int Message(const rt::MessageRequest& request) override {
    messages.push_back(request);
    return request.defaultButton;
  }
  std::optional<std::string> ChooseFile(const rt::FileRequest& request) override {
    fileRequests.push_back(request);
    if (files.empty()) return std::nullopt;
    auto answer = files.front();
    files.pop_front();
    return answer;
  }
};

// Installs a fresh AnsweringScreen for the test's life and gives it back.
inline AnsweringScreen& UseAnsweringScreen() {
  auto screen = std::make_unique<AnsweringScreen>();
  AnsweringScreen& installed = *screen;
  rt::UseScreen(std::move(screen));
  return installed;
}

}  // namespace app_test
