#include "platform/win/modules/unhandled_exception_filter.h"

#include <pthread.h>
#include <sys/mman.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <mutex>

#include "platform/win/modules/fault_description.h"
#include "platform/win/windows/window.h"

namespace win {
namespace {

constexpr int kFaultSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGTRAP, SIGABRT, SIGSYS};
constexpr std::size_t kAltStackSize = 64 * 1024;

std::atomic<LPTOP_LEVEL_EXCEPTION_FILTER> gFilter{nullptr};
std::once_flag gHandlersInstalled;

// Plain thread data that needs no construction, so the handler can read it on any thread.
struct ThreadFaultData {
  void* mapping;  // guard page and alternate stack; null until prepared
  ULONG_PTR stackLow;
  ULONG_PTR stackHigh;
  bool inHandler;
};
__thread ThreadFaultData tFault;

// Takes the alternate stack away when its thread ends.
struct AltStackOwner {
  ~AltStackOwner() {
    if (tFault.mapping == nullptr) return;
    stack_t off{};
    off.ss_flags = SS_DISABLE;
    sigaltstack(&off, nullptr);
    munmap(tFault.mapping, kAltStackSize + static_cast<std::size_t>(getpagesize()));
    tFault.mapping = nullptr;
  }
};
thread_local AltStackOwner tAltStackOwner;

void Decline(int signal) {
  // The default action, as if nobody had looked: raised now, delivered when the handler
  // returns (a fault would also come back by re-running its instruction).
  struct sigaction action{};
  action.sa_handler = SIG_DFL;
  sigemptyset(&action.sa_mask);
  sigaction(signal, &action, nullptr);
  raise(signal);
}

void OnFault(int signal, siginfo_t* info, void* rawContext) {
  int savedErrno = errno;
  LPTOP_LEVEL_EXCEPTION_FILTER filter = gFilter.load();
  if (filter == nullptr || tFault.inHandler) {
    Decline(signal);
    errno = savedErrno;
    return;
  }
  auto& context = *static_cast<ucontext_t*>(rawContext);
  EXCEPTION_RECORD record;
  CONTEXT registers;
  DescribeFault(signal, *info, context, StackBounds{tFault.stackLow, tFault.stackHigh}, record, registers);
  EXCEPTION_POINTERS pointers{&record, &registers};
  tFault.inHandler = true;
  LONG answer = filter(&pointers);
  tFault.inHandler = false;
  if (answer == EXCEPTION_CONTINUE_EXECUTION) {
    RestoreRegisters(registers, context);
  } else if (answer == EXCEPTION_EXECUTE_HANDLER) {
    _exit(128 + signal);
  } else {
    Decline(signal);
  }
  errno = savedErrno;
}

void InstallHandlers() {
  struct sigaction action{};
  action.sa_sigaction = OnFault;
  action.sa_flags = SA_SIGINFO | SA_ONSTACK;
  sigemptyset(&action.sa_mask);
  for (int signal : kFaultSignals) sigaction(signal, &action, nullptr);
}

}  // namespace

void PrepareThreadForFaults() {
  if (tFault.mapping != nullptr) return;
  std::size_t page = static_cast<std::size_t>(getpagesize());
  void* mapping = mmap(nullptr, kAltStackSize + page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapping == MAP_FAILED) return;
  // The lowest page is the guard: a handler that runs out of stack faults instead of
  // writing over whatever lies below.
  mprotect(mapping, page, PROT_NONE);
  stack_t stack{};
  stack.ss_sp = static_cast<char*>(mapping) + page;
  stack.ss_size = kAltStackSize;
  if (sigaltstack(&stack, nullptr) != 0) {
    munmap(mapping, kAltStackSize + page);
    return;
  }
  tFault.mapping = mapping;
  (void)tAltStackOwner;  // constructed now, so it ends with the thread
  (void)GetCurrentThreadId();  // the thread's number, which a report tells
  // The bounds are read here, never in the handler: the reading goes through stdio.
  pthread_attr_t attributes;
  if (pthread_getattr_np(pthread_self(), &attributes) == 0) {
    void* low = nullptr;
    std::size_t size = 0;
    if (pthread_attr_getstack(&attributes, &low, &size) == 0) {
      tFault.stackLow = reinterpret_cast<ULONG_PTR>(low);
      tFault.stackHigh = tFault.stackLow + size;
    }
    pthread_attr_destroy(&attributes);
  }
}

bool InFaultHandler() { return tFault.inHandler; }

StackBounds ThreadStackBounds() { return StackBounds{tFault.stackLow, tFault.stackHigh}; }

}  // namespace win

LPTOP_LEVEL_EXCEPTION_FILTER SetUnhandledExceptionFilter(LPTOP_LEVEL_EXCEPTION_FILTER filter) {
  win::PrepareThreadForFaults();
  std::call_once(win::gHandlersInstalled, win::InstallHandlers);
  return win::gFilter.exchange(filter);
}
