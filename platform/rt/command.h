#pragma once
// COMMAND(): the program's command line, saved once at start-up.
//
//   COMMAND("/debug")           non-empty when the switch "/debug" is present (whole switch,
//                               any case: "/debugWinAlert" does not turn on "/debug")
//   COMMAND("DebugOutputFile")  the text after "DebugOutputFile=" (empty when absent)
//   COMMAND("0")                the program's own path
//   COMMAND("")                 the arguments the program was started with, joined by blanks
#include <string>
#include <string_view>
#include <vector>

std::string COMMAND(std::string_view which);

namespace rt {
// Saves argv for COMMAND(); RunProgram does it, tests call it directly.
void SetCommandLine(std::vector<std::string> argv);
// argv as saved, the program's path first.
const std::vector<std::string>& CommandLineArguments();
}  // namespace rt
