// Faults reach the unhandled-exception filter once, described as the design's records; a
// filter that declines, or none, leaves the process to end by its signal. Each fault happens
// in a child process.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <functional>
#include <thread>

#include "platform/win/modules/unhandled_exception_filter.h"
#include "tests/support/deliberate_faults.h"

namespace {

struct Seen {
  DWORD code;
  DWORD flags;
  ULONG_PTR address;
  DWORD parameters;
  ULONG_PTR information[2];
  unsigned char firstByte;  // the instruction at the address, when it can be read
};

int gReport = -1;
LONG gAnswer = EXCEPTION_EXECUTE_HANDLER;

LONG Recording(EXCEPTION_POINTERS* pointers) {
  const EXCEPTION_RECORD& r = *pointers->ExceptionRecord;
  Seen seen{r.ExceptionCode, r.ExceptionFlags, reinterpret_cast<ULONG_PTR>(r.ExceptionAddress), r.NumberParameters,
            {r.ExceptionInformation[0], r.ExceptionInformation[1]}, 0};
  if (r.ExceptionCode == EXCEPTION_ILLEGAL_INSTRUCTION || r.ExceptionCode == EXCEPTION_BREAKPOINT) {
    seen.firstByte = *static_cast<unsigned char*>(r.ExceptionAddress);
  }
  ssize_t ignored = write(gReport, &seen, sizeof seen);
  (void)ignored;
  return gAnswer;
}

struct Outcome {
  int status;
  std::vector<Seen> seen;
};

// Runs `fault` in a child with the filter (or none) and collects what the filter saw.
Outcome RunChild(const std::function<void()>& fault, bool withFilter, LONG answer) {
  int ends[2];
  EXPECT_EQ(pipe(ends), 0);
  pid_t child = fork();
  if (child == 0) {
    close(ends[0]);
    gReport = ends[1];
    gAnswer = answer;
    // No core files from the tests' own children.
    struct rlimit none{0, 0};
    setrlimit(RLIMIT_CORE, &none);
    if (withFilter) SetUnhandledExceptionFilter(Recording);
    fault();
    _exit(0);
  }
  close(ends[1]);
  Outcome outcome{};
  Seen seen{};
  while (read(ends[0], &seen, sizeof seen) == static_cast<ssize_t>(sizeof seen)) outcome.seen.push_back(seen);
  close(ends[0]);
  waitpid(child, &outcome.status, 0);
  return outcome;
}

struct FaultCase {
  const char* name;
  std::function<void()> fault;
  int signal;
  DWORD code;
  DWORD flags;
  std::function<void(const Seen&)> check;
};

const std::vector<FaultCase>& Cases() {
  static const std::vector<FaultCase> cases = {
      {"null read", deliberate::NullRead, SIGSEGV, EXCEPTION_ACCESS_VIOLATION, 0,
       [](const Seen& s) {
         EXPECT_EQ(s.parameters, 2u);
         EXPECT_EQ(s.information[0], 0u);
         EXPECT_EQ(s.information[1], 0u);
       }},
      {"write to read-only memory", [] { deliberate::WriteReadOnly(); }, SIGSEGV, EXCEPTION_ACCESS_VIOLATION, 0,
       [](const Seen& s) {
         EXPECT_EQ(s.information[0], 1u);
         EXPECT_NE(s.information[1], 0u);
       }},
      {"integer division by zero", deliberate::DivideByZero, SIGFPE, EXCEPTION_INT_DIVIDE_BY_ZERO, 0,
       [](const Seen& s) { EXPECT_EQ(s.parameters, 0u); }},
      {"illegal instruction", deliberate::IllegalInstruction, SIGILL, EXCEPTION_ILLEGAL_INSTRUCTION, 0,
       [](const Seen& s) { EXPECT_EQ(s.firstByte, 0x0F); }},
      {"breakpoint", deliberate::Breakpoint, SIGTRAP, EXCEPTION_BREAKPOINT, 0,
       [](const Seen& s) { EXPECT_EQ(s.firstByte, 0xCC); }},
      {"abort", [] { std::abort(); }, SIGABRT, EXCEPTION_FATAL_APP_EXIT, EXCEPTION_NONCONTINUABLE,
       [](const Seen& s) { EXPECT_EQ(s.parameters, 0u); }},
      {"stack overflow", [] { deliberate::Recurse(0); }, SIGSEGV, EXCEPTION_STACK_OVERFLOW, 0, [](const Seen&) {}},
      {"null read on a second thread",
       [] {
         std::thread([] {
           win::PrepareThreadForFaults();
           deliberate::NullRead();
         }).join();
       },
       SIGSEGV, EXCEPTION_ACCESS_VIOLATION, 0, [](const Seen& s) { EXPECT_EQ(s.information[0], 0u); }},
  };
  return cases;
}

TEST(FaultFilter, EachFaultReachesTheFilterOnceWithItsRecord) {
  for (const FaultCase& c : Cases()) {
    SCOPED_TRACE(c.name);
    Outcome outcome = RunChild(c.fault, true, EXCEPTION_EXECUTE_HANDLER);
    ASSERT_EQ(outcome.seen.size(), 1u);
    const Seen& seen = outcome.seen[0];
    EXPECT_EQ(seen.code, c.code);
    EXPECT_EQ(seen.flags, c.flags);
    EXPECT_NE(seen.address, 0u);
    c.check(seen);
    ASSERT_TRUE(WIFEXITED(outcome.status));
    EXPECT_EQ(WEXITSTATUS(outcome.status), 128 + c.signal);
  }
}

TEST(FaultFilter, WithoutAFilterOrWhenItDeclinesTheSignalEndsTheProcess) {
  for (const FaultCase& c : Cases()) {
    SCOPED_TRACE(c.name);
#if defined(__SANITIZE_ADDRESS__)
    // Without a filter the sanitizer's own handler takes the fault and exits in its own way.
    for (bool withFilter : {true}) {
#else
    for (bool withFilter : {false, true}) {
#endif
      Outcome outcome = RunChild(c.fault, withFilter, EXCEPTION_CONTINUE_SEARCH);
      EXPECT_EQ(outcome.seen.size(), withFilter ? 1u : 0u);
      ASSERT_TRUE(WIFSIGNALED(outcome.status));
      EXPECT_EQ(WTERMSIG(outcome.status), c.signal);
    }
  }
}

TEST(FaultFilter, AResumingFilterGoesOnAfterABreakpoint) {
  Outcome outcome = RunChild(deliberate::Breakpoint, true, EXCEPTION_CONTINUE_EXECUTION);
  EXPECT_EQ(outcome.seen.size(), 1u);
  ASSERT_TRUE(WIFEXITED(outcome.status));
  EXPECT_EQ(WEXITSTATUS(outcome.status), 0);
}

}  // namespace
