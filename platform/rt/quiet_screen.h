#pragma once
// The screen of a program without a display: shows nothing, gives every message box its
// default button, cancels file dialogs and popups, and waits for posted messages.
#include "platform/rt/screen.h"

namespace rt {

class QuietScreen final : public Screen {
 public:
  void WindowOpened(Window&) override {}
  void WindowClosed(Window&) override {}
  void PropertyChanged(Window&, int, int, int) override {}
  void ListChanged(Window&, int) override {}
  void Wait(std::chrono::milliseconds upTo) override;
  int Message(const MessageRequest& request) override { return request.defaultButton; }
  std::optional<std::string> ChooseFile(const FileRequest&) override { return std::nullopt; }
  int Popup(const PopupRequest&) override { return 0; }
  void Beep() override {}
};

}  // namespace rt
