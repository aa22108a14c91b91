#pragma once
// A screen for tests that call a routine directly: it keeps every message box shown and
// answers it with its default button; with `echo`, it also writes each to stderr, where a
// death test reads them.
#include <cstdio>
#include <memory>
#include <vector>

#include "platform/rt/screen.h"

namespace test_support {

class MessageScreen final : public rt::Screen {
 public:
  std::vector<rt::MessageRequest> messages;
  bool echo = false;

  void WindowOpened(rt::Window&) override {}
  void WindowClosed(rt::Window&) override {}
  void PropertyChanged(rt::Window&, int, int, int) override {}
  void ListChanged(rt::Window&, int) override {}
  void Wait(std::chrono::milliseconds) override {}
  int Message(const rt::MessageRequest& request) override {
    if (echo) std::fprintf(stderr, "[%s] %s\n", request.caption.c_str(), request.text.c_str());
    messages.push_back(request);
    return request.defaultButton;
  }
  std::optional<std::string> ChooseFile(const rt::FileRequest&) override { return std::nullopt; }
  int Popup(const rt::PopupRequest&) override { return 0; }
  void Beep() override {}
};

// Installs a fresh MessageScreen and gives it back.
inline MessageScreen& UseMessageScreen() {
  auto screen = std::make_unique<MessageScreen>();
  MessageScreen& installed = *screen;
  rt::UseScreen(std::move(screen));
  return installed;
}

}  // namespace test_support
