#pragma once
// Shared by the toolkit's tests: the command line, a capture of the debugger channel and a
// scratch folder.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/rt/command.h"
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

// A fresh folder of the test's own, removed with everything in it when the test ends.
class ScratchFolder {
 public:
  ScratchFolder() {
    std::string name = (std::filesystem::temp_directory_path() / "boxwright-toolkit-XXXXXX").string();
    if (mkdtemp(name.data()) == nullptr) ADD_FAILURE() << "no scratch folder " << name;
    path_ = name;
  }
  ~ScratchFolder() { std::filesystem::remove_all(path_); }
  std::string Path(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

inline std::string ReadFile(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}
