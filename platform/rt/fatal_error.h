#pragma once
// The runtime's fatal errors: a failed assertion, an index out of range, and a C++ exception
// that nobody caught. Each goes to the SYSTEM last-chance hook (PROP::LastChanceHook) when
// one is set, with the real processor context of the procedure that raises it, standing at
// its call that raises (AssertionFailed, IndexOutOfRange, or the terminate handler of an
// escaping exception): a stack walk from that context unwinds through the procedure that
// failed and all its callers. That frame holds the message text at its bottom, so the
// context's stack pointer and frame pointer bracket it: an assertion's text at stack pointer
// + 60 ("Assertion failed: ..."), any other at stack pointer + 44 ("Index out of range: ...",
// "Unhandled exception: ..."). The record is not continuable: code 40000015h for an
// assertion, C000008Ch for an index, E06D7363h for an exception, at the context's address.
// Without a hook, or when it declines, the message goes to standard error and the process
// aborts as the C++ runtime would have ended it.
#include <cstddef>

#include "platform/win/modules/exception_records.h"

namespace rt {

// What the last-chance hook is given; its first operation is the context, its second the record.
class IExceptionInfo {
 public:
  virtual CONTEXT* Context() = 0;
  virtual EXCEPTION_RECORD* Record() = 0;

 protected:
  ~IExceptionInfo() = default;
};
using LastChanceHookProc = LONG (*)(IExceptionInfo*);

[[noreturn]] void AssertionFailed(const char* expression, const char* file, int line);
[[noreturn]] void IndexOutOfRange(std::size_t index, std::size_t count);

namespace detail {
// Sends C++ exceptions that escape to the last-chance hook (done when the hook is set).
void CatchEscapingExceptions();
}  // namespace detail
}  // namespace rt

#define ASSERT(condition) ((condition) ? void(0) : ::rt::AssertionFailed(#condition, __FILE__, __LINE__))
