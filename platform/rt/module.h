#pragma once
// The program's start-up and shutdown: one explicit ordered list of modules, then the main
// procedure on the main thread.
//
// RunProgram saves argv for COMMAND(), makes the program's screen, runs every module's `start` in list order (a
// module's thread hooks are registered right after its start), runs the thread-start hooks
// for the main thread, calls `main`, runs the main thread's end hooks, then every module's
// `stop` in reverse list order, and returns the exit status.
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace rt {

class Screen;

struct Module {
  std::string name{};
  std::function<void()> start{};        // process start, main thread
  std::function<void()> stop{};         // process end, main thread
  std::function<void()> threadStart{};  // on every thread as it attaches
  std::function<void()> threadEnd{};    // on every thread as it ends
};

struct Program {
  std::vector<Module> modules{};
  std::function<void()> main{};
  // Its screen; without one the program runs on the quiet screen (no display).
  std::function<std::unique_ptr<Screen>()> screen{};
};

int RunProgram(int argc, char** argv, const Program& program);

}  // namespace rt
