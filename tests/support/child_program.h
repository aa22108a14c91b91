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

// A child that runs while the test goes on (a program with a window, a server), started as
// RunChild starts one; `input` and `timeout` of the options do not apply. A child still
// running when the object goes is killed.
class StartedChild {
 public:
  StartedChild(const std::vector<std::string>& arguments, const ChildOptions& options = {});
  ~StartedChild();
  StartedChild(const StartedChild&) = delete;
  StartedChild& operator=(const StartedChild&) = delete;

  bool Started() const { return pid_ > 0; }
  void Signal(int signal) const;
  // What it has written so far.
  std::string Output() const;
  std::string Errors() const;
  // How it ended, waiting up to `limit`; timedOut when it is still running.
  ChildRun Wait(std::chrono::milliseconds limit);

 private:
  int pid_ = -1;
  int output_ = -1;  // memory files that the child writes to
  int errors_ = -1;
  bool ended_ = false;
  ChildRun run_;
};

}  // namespace test_support
