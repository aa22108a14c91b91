#pragma once
// Runs the fault program (or a copy of it) as a child, on the scripted screen, and collects
// what it leaves: how it ended, the report file and the transcript of the boxes.
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/child_program.h"
#include "tests/support/file_text.h"

namespace crashtest {

struct FaultOutcome {
  test_support::ChildRun child;  // how it ended, what it printed
  std::string report;            // the report file
  std::string transcript;        // the scripted screen's lines
};

struct FaultRun {
  std::string fault{};
  std::vector<std::string> settings{};     // the reporter's PROPERTY=VALUE
  std::string script{};                    // lines that answer the boxes
  std::string program = FAULT_PROGRAM;
  std::vector<std::string> launcher{};     // a program that starts it (its argv comes first)
  std::vector<std::string> environment{};  // NAME=value over what it inherits
  std::filesystem::path report = "Faultscribe.log";  // read back as the report
  std::chrono::seconds timeout{120};
};

// The script and the transcript lie in the current folder, whatever folder the program runs in.
inline FaultOutcome Run(const FaultRun& run) {
  namespace fs = std::filesystem;
  test_support::WriteFileText("script.txt", run.script);
  fs::remove("transcript.jsonl");
  std::vector<std::string> args = run.launcher;
  args.insert(args.end(), {run.program, run.fault, "TrapAllocations=1"});
  args.insert(args.end(), run.settings.begin(), run.settings.end());
  test_support::ChildOptions options{
      .environment = {"BOXWRIGHT_SCREEN=script", "BOXWRIGHT_SCRIPT=" + fs::absolute("script.txt").string(),
                      "BOXWRIGHT_TRANSCRIPT=" + fs::absolute("transcript.jsonl").string()},
      .dropInherited = {"BOXWRIGHT_"},
      .timeout = run.timeout};
  options.environment.insert(options.environment.end(), run.environment.begin(), run.environment.end());
  FaultOutcome outcome;
  outcome.child = test_support::RunChild(args, options);
  outcome.report = test_support::FileText(run.report);
  outcome.transcript = test_support::FileText("transcript.jsonl");
  return outcome;
}

// The exit code, or minus the signal that ended it.
inline int ExitStatus(const FaultOutcome& run) {
  return run.child.signalled ? 128 - run.child.status : run.child.status;
}

using test_support::Lines;

}  // namespace crashtest
