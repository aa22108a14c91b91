#pragma once
// The runtime's fatal errors: a failed assertion, an index out of range, and a C++ exception
// that nobody caught. Each goes to the SYSTEM last-chance hook (PROP::LastChanceHook) when
// one is set, with the message text in the faulting frame: the context's stack pointer and
// frame pointer bracket a frame of the runtime's that holds the text of an assertion at
// stack pointer + 60 ("Assertion failed: ...") and any other message at stack pointer + 44
// ("Index out of range: ...", "Unhandled exception: ..."). The record is not continuable:
// code 40000015h for an assertion, C000008Ch for an index, E06D7363h for an exception.
// Without a hook, or when it declines, the message goes to standard error and the process
// aborts as the C++ runtime would have ended it.
#include <cstddef>

#include "platform/win/exception_records.h"

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
