#include "platform/rt/fatal_error.h"

#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <mutex>
#include <stdexcept>

#include "platform/rt/props.h"
#include "platform/rt/system.h"

namespace rt {
namespace {

constexpr std::size_t kFrameSize = 320;
constexpr std::size_t kAssertionAt = 60;
constexpr std::size_t kMessageAt = 44;

// A message built without the heap (the heap may be what broke).
class MessageText {
 public:
  MessageText& operator<<(const char* text) {
    while (text && *text && length_ + 1 < sizeof text_) text_[length_++] = *text++;
    text_[length_] = '\0';
    return *this;
  }
  MessageText& operator<<(unsigned long long value) {
    char digits[24];
    int n = 0;
    do {
      digits[n++] = static_cast<char>('0' + value % 10);
      value /= 10;
    } while (value != 0);
    while (n > 0 && length_ + 1 < sizeof text_) text_[length_++] = digits[--n];
    text_[length_] = '\0';
    return *this;
  }
  const char* Text() const { return text_; }
  std::size_t Length() const { return length_; }

 private:
  char text_[kFrameSize - kMessageAt] = {};
  std::size_t length_ = 0;
};

class FaultInfo final : public IExceptionInfo {
 public:
  FaultInfo(EXCEPTION_RECORD& record, CONTEXT& context) : record_(record), context_(context) {}
  CONTEXT* Context() override { return &context_; }
  EXCEPTION_RECORD* Record() override { return &record_; }

 private:
  EXCEPTION_RECORD& record_;
  CONTEXT& context_;
};

}  // namespace

namespace detail {
// The bottom of the raising frame, where a reporter reads the message. Handed on by value, it
// lies at the caller's stack pointer at the call: the x86-64 calling convention puts an
// argument of this size on the stack, first byte lowest.
struct MessageFrame {
  char bytes[kFrameSize];
};
}  // namespace detail
}  // namespace rt

extern "C" {
// Raises a fatal error from its caller's frame: takes the caller's registers as they stand at
// the call (the assembly below), so the context is the raising procedure's real one, with its
// stack pointer at the message frame and its frame pointer above it, and the walk of a report
// unwinds from there through the procedure that failed and all its callers.
void rt_RaiseFatalError(DWORD code, rt::detail::MessageFrame frame);
// Where that context goes: to the last-chance hook, if there is one.
[[gnu::visibility("hidden"), gnu::used]] void rt_OfferFatalError(DWORD code, CONTEXT* context);
}

// The assembly knows the context's layout.
static_assert(offsetof(CONTEXT, EFlags) == 4 && offsetof(CONTEXT, Rax) == 8 && offsetof(CONTEXT, Rcx) == 16 &&
              offsetof(CONTEXT, Rdx) == 24 && offsetof(CONTEXT, Rbx) == 32 && offsetof(CONTEXT, Rsp) == 40 &&
              offsetof(CONTEXT, Rbp) == 48 && offsetof(CONTEXT, Rsi) == 56 && offsetof(CONTEXT, Rdi) == 64 &&
              offsetof(CONTEXT, R8) == 72 && offsetof(CONTEXT, R15) == 128 && offsetof(CONTEXT, Rip) == 136 &&
              sizeof(CONTEXT) == 144);

// On entry the return address is at (%rsp) and the frame at 8(%rsp). The flags are pushed and a
// CONTEXT is made below them; the caller's stack pointer after the call is the entry's + 8.
asm(R"(
    .text
    .p2align 4
    .globl rt_RaiseFatalError
    .hidden rt_RaiseFatalError
    .type rt_RaiseFatalError, @function
rt_RaiseFatalError:
    .cfi_startproc
    pushfq
    .cfi_adjust_cfa_offset 8
    subq $144, %rsp
    .cfi_adjust_cfa_offset 144
    movq %rax, 8(%rsp)
    movq %rcx, 16(%rsp)
    movq %rdx, 24(%rsp)
    movq %rbx, 32(%rsp)
    movq %rbp, 48(%rsp)
    movq %rsi, 56(%rsp)
    movq %rdi, 64(%rsp)
    movq %r8, 72(%rsp)
    movq %r9, 80(%rsp)
    movq %r10, 88(%rsp)
    movq %r11, 96(%rsp)
    movq %r12, 104(%rsp)
    movq %r13, 112(%rsp)
    movq %r14, 120(%rsp)
    movq %r15, 128(%rsp)
    leaq 160(%rsp), %rax
    movq %rax, 40(%rsp)
    movq 152(%rsp), %rax
    movq %rax, 136(%rsp)
    movq 144(%rsp), %rax
    movl %eax, 4(%rsp)
    movl $0, (%rsp)
    movq %rsp, %rsi
    call rt_OfferFatalError
    addq $152, %rsp
    .cfi_adjust_cfa_offset -152
    ret
    .cfi_endproc
    .size rt_RaiseFatalError, .-rt_RaiseFatalError
)");

void rt_OfferFatalError(DWORD code, CONTEXT* context) {
  auto hook = reinterpret_cast<rt::LastChanceHookProc>(rt::SystemProp(PROP::LastChanceHook));
  if (hook == nullptr) return;
  // The context stands at the call that raised the error, as a fault's at its instruction:
  // the registers are the same there, and the address names the raising line.
  constexpr std::uint64_t kDirectCallLength = 5;
  if (*reinterpret_cast<const unsigned char*>(context->Rip - kDirectCallLength) == 0xE8)
    context->Rip -= kDirectCallLength;
  EXCEPTION_RECORD record{};
  record.ExceptionCode = code;
  record.ExceptionFlags = EXCEPTION_NONCONTINUABLE;
  record.ExceptionAddress = reinterpret_cast<void*>(context->Rip);
  rt::FaultInfo info(record, *context);
  hook(&info);
}

namespace rt {
namespace {

detail::MessageFrame FrameWith(std::size_t messageAt, const MessageText& message) {
  detail::MessageFrame frame{};
  std::memcpy(frame.bytes + messageAt, message.Text(), std::min(message.Length(), kFrameSize - messageAt - 1));
  return frame;
}

[[noreturn]] void EndWith(const MessageText& message) {
  ssize_t ignored = write(STDERR_FILENO, message.Text(), message.Length());
  ignored = write(STDERR_FILENO, "\n", 1);
  (void)ignored;
  std::abort();
}

std::terminate_handler gPreviousTerminate = nullptr;

[[noreturn]] void OnTerminate() {
  MessageText message;
  DWORD code = EXCEPTION_CPP_EXCEPTION;
  if (std::exception_ptr escaping = std::current_exception()) {
    try {
      std::rethrow_exception(escaping);
    } catch (const std::out_of_range& e) {
      code = EXCEPTION_ARRAY_BOUNDS_EXCEEDED;
      message << "Index out of range: " << e.what();
    } catch (const std::exception& e) {
      message << "Unhandled exception: " << e.what();
    } catch (...) {
      message << "Unhandled exception";
    }
  } else {
    message << "Unhandled exception: terminate called without one";
  }
  rt_RaiseFatalError(code, FrameWith(kMessageAt, message));
  if (gPreviousTerminate) gPreviousTerminate();
  std::abort();
}

}  // namespace

void AssertionFailed(const char* expression, const char* file, int line) {
  MessageText message;
  message << "Assertion failed: " << expression << ", file " << file << ", line "
          << static_cast<unsigned long long>(line);
  rt_RaiseFatalError(EXCEPTION_FATAL_APP_EXIT, FrameWith(kAssertionAt, message));
  EndWith(message);
}

void IndexOutOfRange(std::size_t index, std::size_t count) {
  MessageText message;
  message << "Index out of range: " << static_cast<unsigned long long>(index) << " of "
          << static_cast<unsigned long long>(count);
  rt_RaiseFatalError(EXCEPTION_ARRAY_BOUNDS_EXCEEDED, FrameWith(kMessageAt, message));
  EndWith(message);
}

namespace detail {
void CatchEscapingExceptions() {
  static std::once_flag once;
  std::call_once(once, [] { gPreviousTerminate = std::set_terminate(OnTerminate); });
}
}  // namespace detail

}  // namespace rt
