#pragma once
// Runs a program as a child process from an argument vector (never through a shell, so a path
// with blanks or quotes is one argument) and collects how it ended and what it printed.
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace test_support {

struct ChildOptions {
  std::filesystem::path folder{};            // its working folder; empty: the test's own
  std::vector<std::string> environment{};    // "NAME=value" set over what it inherits
  std::vector<std::string> dropInherited{};  // inherited variables whose names begin so are left out
  std::string input{};                       // its standard input (otherwise /dev/null)
  std::chrono::seconds timeout{120};         // then it is killed, and the run says so
};

struct ChildRun {
  bool started = false;
  bool signalled = false;  // ended by a signal rather than by exiting
  bool timedOut = false;
  int status = -1;         // its exit code, or 128 + the signal that ended it
  std::string output;      // its standard output
  std::string errors;      // its standard error
};

ChildRun RunChild(const std::vector<std::string>& arguments, const ChildOptions& options = {});

}  // namespace test_support
