#pragma once
// Runs a program's main procedure under the scripted screen, with the script given, and
// answers the transcript it wrote. Files are named after the running test.
#include <cstdlib>
#include <fstream>
#include <initializer_list>
#include <string>
#include <vector>

#include "platform/harness/screen_choice.h"
#include "platform/rt/control_kind.h"
#include "platform/rt/module.h"
#include "tests/platform/test_files.h"

namespace platform_test {

inline std::string RunScriptedProgram(const std::string& script, void (*main)(), std::initializer_list<rt::Kind> kinds) {
  const std::string name = TestName();
  std::ofstream(name + ".script") << script;
  setenv("BOXWRIGHT_SCREEN", "script", 1);
  setenv("BOXWRIGHT_SCRIPT", (name + ".script").c_str(), 1);
  setenv("BOXWRIGHT_TRANSCRIPT", (name + ".jsonl").c_str(), 1);
  rt::Program program;
  program.modules = {{"program", [announced = std::vector<rt::Kind>(kinds)] {
                        for (rt::Kind kind : announced) rt::AnnounceControlKinds({kind});
                      }}};
  program.main = main;
  program.screen = harness::ScreenFromEnvironment({});
  char arg0[] = "program";
  char* argv[] = {arg0};
  rt::RunProgram(1, argv, program);
  return FileText(name + ".jsonl");
}

}  // namespace platform_test
