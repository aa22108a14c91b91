#pragma once
// Shared by the toolkit's tests: the command line and a capture of the debugger channel.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/rt/command.h"
#include "platform/win/system/debug_output.h"

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
