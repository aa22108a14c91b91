#include "platform/rt/fatal_error.h"

#include <unistd.h>

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

// Offers the fault to the hook; returns when there is none or it declined.
[[gnu::noinline]] void OfferToHook(DWORD code, std::size_t messageAt, const MessageText& message, void* address) {
  auto hook = reinterpret_cast<LastChanceHookProc>(SystemProp(PROP::LastChanceHook));
  if (hook == nullptr) return;
  // The faulting frame: where a reporter reads the message, between the context's stack
  // pointer and frame pointer.
  alignas(16) char frame[kFrameSize];
  std::memset(frame, 0, sizeof frame);
  std::memcpy(frame + messageAt, message.Text(), std::min(message.Length(), kFrameSize - messageAt - 1));
  CONTEXT context{};
  context.Rsp = reinterpret_cast<std::uint64_t>(frame);
  context.Rbp = reinterpret_cast<std::uint64_t>(frame + kFrameSize);
  context.Rip = reinterpret_cast<std::uint64_t>(address);
  EXCEPTION_RECORD record{};
  record.ExceptionCode = code;
  record.ExceptionFlags = EXCEPTION_NONCONTINUABLE;
  record.ExceptionAddress = address;
  FaultInfo info(record, context);
  hook(&info);
  asm volatile("" : : "r"(frame) : "memory");  // the frame stays until the hook is done
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
  OfferToHook(code, kMessageAt, message, __builtin_return_address(0));
  if (gPreviousTerminate) gPreviousTerminate();
  std::abort();
}

}  // namespace

void AssertionFailed(const char* expression, const char* file, int line) {
  MessageText message;
  message << "Assertion failed: " << expression << ", file " << file << ", line "
          << static_cast<unsigned long long>(line);
  OfferToHook(EXCEPTION_FATAL_APP_EXIT, kAssertionAt, message, __builtin_return_address(0));
  EndWith(message);
}

void IndexOutOfRange(std::size_t index, std::size_t count) {
  MessageText message;
  message << "Index out of range: " << static_cast<unsigned long long>(index) << " of "
          << static_cast<unsigned long long>(count);
  OfferToHook(EXCEPTION_ARRAY_BOUNDS_EXCEEDED, kMessageAt, message, __builtin_return_address(0));
  EndWith(message);
}

namespace detail {
void CatchEscapingExceptions() {
  static std::once_flag once;
  std::call_once(once, [] { gPreviousTerminate = std::set_terminate(OnTerminate); });
}
}  // namespace detail

}  // namespace rt
