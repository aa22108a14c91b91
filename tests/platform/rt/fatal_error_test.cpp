// The runtime's fatal errors reach the last-chance hook with their text in the faulting
// frame; without a hook they end the process by abort() after saying why. In child processes.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <functional>
#include <stdexcept>
#include <string>
#include <thread>

#include "platform/rt/fatal_error.h"
#include "platform/rt/props.h"
#include "platform/rt/system.h"

namespace {

struct Seen {
  DWORD code;
  DWORD flags;
  char atAssertion[64];  // the frame's text at stack pointer + 60
  char atMessage[64];    // ... and at + 44
};

int gReport = -1;

LONG Recording(rt::IExceptionInfo* info) {
  Seen seen{info->Record()->ExceptionCode, info->Record()->ExceptionFlags, {}, {}};
  auto sp = static_cast<std::uintptr_t>(info->Context()->Rsp);
  EXPECT_GT(info->Context()->Rbp - sp, 70u);
  std::strncpy(seen.atAssertion, reinterpret_cast<const char*>(sp + 60), sizeof seen.atAssertion - 1);
  std::strncpy(seen.atMessage, reinterpret_cast<const char*>(sp + 44), sizeof seen.atMessage - 1);
  ssize_t ignored = write(gReport, &seen, sizeof seen);
  (void)ignored;
  return EXCEPTION_CONTINUE_SEARCH;
}

struct Outcome {
  int status = 0;
  bool seen = false;
  Seen record{};
  std::string errorText;
};

Outcome RunChild(const std::function<void()>& fatal, bool withHook) {
  int report[2];
  int error[2];
  EXPECT_EQ(pipe(report), 0);
  EXPECT_EQ(pipe(error), 0);
  pid_t child = fork();
  if (child == 0) {
    close(report[0]);
    close(error[0]);
    dup2(error[1], STDERR_FILENO);
    gReport = report[1];
    if (withHook) rt::SetSystemProp(PROP::LastChanceHook, reinterpret_cast<LONG_PTR>(&Recording));
    fatal();
    _exit(0);
  }
  close(report[1]);
  close(error[1]);
  Outcome outcome;
  outcome.seen = read(report[0], &outcome.record, sizeof outcome.record) == static_cast<ssize_t>(sizeof outcome.record);
  char buffer[512];
  ssize_t n = 0;
  while ((n = read(error[0], buffer, sizeof buffer)) > 0) outcome.errorText.append(buffer, static_cast<std::size_t>(n));
  close(report[0]);
  close(error[0]);
  waitpid(child, &outcome.status, 0);
  return outcome;
}

struct FatalCase {
  const char* name;
  std::function<void()> fatal;
  DWORD code;
  bool assertion;    // the text stands at + 60, else at + 44
  std::string text;  // how it begins
};

const std::vector<FatalCase>& Cases() {
  static const std::vector<FatalCase> cases = {
      {"assertion", [] { ASSERT(2 + 2 == 5); }, EXCEPTION_FATAL_APP_EXIT, true, "Assertion failed: 2 + 2 == 5, file "},
      {"index", [] { rt::IndexOutOfRange(4, 2); }, EXCEPTION_ARRAY_BOUNDS_EXCEEDED, false, "Index out of range: 4 of 2"},
      // On threads of their own: the test framework would catch them on this one.
      {"escaping out_of_range", [] { std::thread([] { throw std::out_of_range("row 9"); }).join(); },
       EXCEPTION_ARRAY_BOUNDS_EXCEEDED, false, "Index out of range: row 9"},
      {"escaping exception on a thread", [] { std::thread([] { throw std::runtime_error("boom"); }).join(); },
       EXCEPTION_CPP_EXCEPTION, false, "Unhandled exception: boom"},
  };
  return cases;
}

TEST(FatalError, EachReachesTheHookWithItsTextInTheFaultingFrame) {
  for (const FatalCase& c : Cases()) {
    SCOPED_TRACE(c.name);
    Outcome outcome = RunChild(c.fatal, true);
    ASSERT_TRUE(outcome.seen);
    EXPECT_EQ(outcome.record.code, c.code);
    EXPECT_EQ(outcome.record.flags, EXCEPTION_NONCONTINUABLE);
    std::string text = c.assertion ? outcome.record.atAssertion : outcome.record.atMessage;
    EXPECT_EQ(text.substr(0, c.text.size()), c.text);
    // The hook declined: the process ends as it would have without one.
    ASSERT_TRUE(WIFSIGNALED(outcome.status));
    EXPECT_EQ(WTERMSIG(outcome.status), SIGABRT);
  }
}

TEST(FatalError, WithoutAHookTheTextGoesToStandardErrorAndTheProcessAborts) {
  for (const FatalCase& c : Cases()) {
    if (std::string(c.name).rfind("escaping", 0) == 0) continue;  // the C++ runtime's own words
    SCOPED_TRACE(c.name);
    Outcome outcome = RunChild(c.fatal, false);
    EXPECT_FALSE(outcome.seen);
    EXPECT_EQ(outcome.errorText.substr(0, c.text.size()), c.text);
    ASSERT_TRUE(WIFSIGNALED(outcome.status));
    EXPECT_EQ(WTERMSIG(outcome.status), SIGABRT);
  }
}

}  // namespace
