// The runtime's fatal errors reach the last-chance hook with their text in the faulting
// frame; without a hook they end the process by abort() after saying why. In child processes.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <stdexcept>
#include <string>
#include <thread>

#include "platform/rt/fatal_error.h"
#include "platform/rt/props.h"
#include "platform/rt/system.h"
#include "platform/win/modules/debug_help.h"
#include "platform/win/modules/library.h"

namespace {

constexpr std::size_t kWalked = 16;

struct Seen {
  DWORD code;
  DWORD flags;
  char atAssertion[64];  // the frame's text at stack pointer + 60
  char atMessage[64];    // ... and at + 44
  std::uint64_t address;            // the record's
  std::uint64_t walked[kWalked];    // the frames a walk of the context gives
  std::uint64_t failingReturn;      // where the procedure that failed returns to
};

int gReport = -1;
void* gFailingReturn = nullptr;

// Walks the context as a reporter would.
void Walk(CONTEXT context, std::uint64_t (&pcs)[kWalked]) {
  HMODULE help = LoadLibraryA("dbghelp.dll");
  auto walk = reinterpret_cast<StackWalk64Proc>(GetProcAddress(help, "StackWalk64"));
  auto tables = reinterpret_cast<SymFunctionTableAccess64Proc>(GetProcAddress(help, "SymFunctionTableAccess64"));
  auto base = reinterpret_cast<SymGetModuleBase64Proc>(GetProcAddress(help, "SymGetModuleBase64"));
  if (walk == nullptr) return;
  STACKFRAME64 frame{};
  for (std::uint64_t& pc : pcs) {
    if (!walk(IMAGE_FILE_MACHINE_AMD64, GetCurrentProcess(), GetCurrentThread(), &frame, &context, nullptr, tables,
              base, nullptr))
      break;
    pc = frame.AddrPC.Offset;
  }
}

LONG Recording(rt::IExceptionInfo* info) {
  Seen seen{info->Record()->ExceptionCode, info->Record()->ExceptionFlags, {}, {},
            reinterpret_cast<std::uint64_t>(info->Record()->ExceptionAddress), {},
            reinterpret_cast<std::uint64_t>(gFailingReturn)};
  auto sp = static_cast<std::uintptr_t>(info->Context()->Rsp);
  EXPECT_GT(info->Context()->Rbp - sp, 70u);
  std::strncpy(seen.atAssertion, reinterpret_cast<const char*>(sp + 60), sizeof seen.atAssertion - 1);
  std::strncpy(seen.atMessage, reinterpret_cast<const char*>(sp + 44), sizeof seen.atMessage - 1);
  EXPECT_EQ(seen.address, info->Context()->Rip);
  Walk(*info->Context(), seen.walked);
  ssize_t ignored = write(gReport, &seen, sizeof seen);
  (void)ignored;
  return EXCEPTION_CONTINUE_SEARCH;
}

// The procedures that fail, each noting where it returns to.
[[gnu::noinline]] void FailAnAssertion() {
  gFailingReturn = __builtin_return_address(0);
  ASSERT(2 + 2 == 5);
}
[[gnu::noinline]] void FailAnIndex() {
  gFailingReturn = __builtin_return_address(0);
  rt::IndexOutOfRange(4, 2);
}
template <class Exception>
[[gnu::noinline]] void Throw(const char* what) {
  gFailingReturn = __builtin_return_address(0);
  throw Exception(what);
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
    if (withHook) {
      win::OfferDebugHelp();
      rt::SetSystemProp(PROP::LastChanceHook, reinterpret_cast<LONG_PTR>(&Recording));
    }
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
      {"assertion", FailAnAssertion, EXCEPTION_FATAL_APP_EXIT, true, "Assertion failed: 2 + 2 == 5, file "},
      {"index", FailAnIndex, EXCEPTION_ARRAY_BOUNDS_EXCEEDED, false, "Index out of range: 4 of 2"},
      // On threads of their own: the test framework would catch them on this one.
      {"escaping out_of_range", [] { std::thread(Throw<std::out_of_range>, "row 9").join(); },
       EXCEPTION_ARRAY_BOUNDS_EXCEEDED, false, "Index out of range: row 9"},
      {"escaping exception on a thread", [] { std::thread(Throw<std::runtime_error>, "boom").join(); },
       EXCEPTION_CPP_EXCEPTION, false, "Unhandled exception: boom"},
  };
  return cases;
}

TEST(FatalError, EachReachesTheHookWithTheRaisingProceduresContextAndItsText) {
  for (const FatalCase& c : Cases()) {
    SCOPED_TRACE(c.name);
    Outcome outcome = RunChild(c.fatal, true);
    ASSERT_TRUE(outcome.seen);
    EXPECT_EQ(outcome.record.code, c.code);
    EXPECT_EQ(outcome.record.flags, EXCEPTION_NONCONTINUABLE);
    std::string text = c.assertion ? outcome.record.atAssertion : outcome.record.atMessage;
    EXPECT_EQ(text.substr(0, c.text.size()), c.text);
    // The context is the raising procedure's own, at its raising call: a walk from it starts
    // there and goes on through the procedure that failed to whatever called it.
    EXPECT_EQ(outcome.record.walked[0], outcome.record.address);
    const auto& walked = outcome.record.walked;
    EXPECT_NE(std::find(std::begin(walked), std::end(walked), outcome.record.failingReturn), std::end(walked))
        << "the walk passes the failing procedure's return";
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
