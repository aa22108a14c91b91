#pragma once
// Shared by the toolkit's tests: the command line and a capture of the debugger channel.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "platform/rt/command.h"
#include "platform/rt/screen.h"
#include "platform/win/window.h"
#include "platform/win/debug_output.h"

// Sets the command line ("prog" plus the given arguments) for the test's lifetime.
class CommandLine {
 public:
  explicit CommandLine(std::vector<std::string> args) {
    args.insert(args.begin(), "boxwright");
    rt::SetCommandLine(std::move(args));
  }
  ~CommandLine() { rt::SetCommandLine({"boxwright"}); }
};

// Collects everything written to the debugger channel while it lives.
class DebugCapture {
 public:
  DebugCapture() {
    previous_ = win::SetDebugSink([this](std::string_view line) { text += line; });
  }
  ~DebugCapture() { win::SetDebugSink(previous_); }
  std::string text;

 private:
  win::DebugSink previous_;
};

// Records every message box shown while it lives (each answered with its default button)
// and writes its text to stderr, where a death test can read it.
class MessageBoxes {
 public:
  MessageBoxes() { previous_ = rt::UseScreen(std::make_unique<Recorder>(shown)); }
  ~MessageBoxes() { rt::UseScreen(std::move(previous_)); }
  std::vector<rt::MessageRequest> shown;

 private:
  class Recorder final : public rt::Screen {
   public:
    explicit Recorder(std::vector<rt::MessageRequest>& shown) : shown_(shown) {}
    void WindowOpened(rt::Window&) override {}
    void WindowClosed(rt::Window&) override {}
    void PropertyChanged(rt::Window&, int, int, int) override {}
    void ListChanged(rt::Window&, int) override {}
    void Wait(std::chrono::milliseconds upTo) override { WaitMessageA(upTo); }
    int Message(const rt::MessageRequest& request) override {
      std::fprintf(stderr, "[%s] %s\n", request.caption.c_str(), request.text.c_str());
      shown_.push_back(request);
      return request.defaultButton;
    }
    std::optional<std::string> ChooseFile(const rt::FileRequest&) override { return std::nullopt; }
    int Popup(const rt::PopupRequest&) override { return 0; }
    void Beep() override {}

   private:
    std::vector<rt::MessageRequest>& shown_;
  };
  std::unique_ptr<rt::Screen> previous_;
};
