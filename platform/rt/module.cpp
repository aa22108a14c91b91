#include "platform/rt/module.h"

#include "platform/rt/command.h"
#include "platform/rt/screen.h"
#include "platform/rt/thread.h"
#include "platform/rt/thread_state.h"

namespace rt {

int RunProgram(int argc, char** argv, const Program& program) {
  std::vector<std::string> args(argv, argv + argc);
  SetCommandLine(std::move(args));
  if (program.screen) UseScreen(program.screen());

  detail::HoldThreadStarts(true);
  for (const Module& module : program.modules) {
    if (module.start) module.start();
    if (module.threadStart || module.threadEnd) AddThreadHooks(module.threadStart, module.threadEnd);
  }
  detail::HoldThreadStarts(false);
  AttachThreadToRuntime(1);

  if (program.main) program.main();

  DetachThreadFromRuntime();
  for (auto it = program.modules.rbegin(); it != program.modules.rend(); ++it) {
    if (it->stop) it->stop();
  }
  UseScreen(nullptr);
  return 0;
}

}  // namespace rt
