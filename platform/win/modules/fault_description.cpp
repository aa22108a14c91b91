#include "platform/win/modules/fault_description.h"

#include <ucontext.h>
#include <unistd.h>

namespace win {
namespace {

constexpr ULONG_PTR kGuardBelow = 64 * 1024;  // how far below the stack a guard hit can lie
constexpr ULONG_PTR kGuardAbove = 4 * 1024;
constexpr greg_t kWriteBit = 0x2;              // page-fault error code: the access was a write
constexpr greg_t kFetchBit = 0x10;             // ... an instruction fetch

bool IsStackOverflow(ULONG_PTR address, StackBounds stack) {
  if (stack.low == 0) return false;
  ULONG_PTR from = stack.low > kGuardBelow ? stack.low - kGuardBelow : 0;
  return address >= from && address < stack.low + kGuardAbove;
}

void SetAccess(EXCEPTION_RECORD& record, ULONG_PTR kind, ULONG_PTR address) {
  record.NumberParameters = 2;
  record.ExceptionInformation[0] = kind;
  record.ExceptionInformation[1] = address;
}

DWORD FloatingPointCode(int code) {
  switch (code) {
    case FPE_INTDIV: return EXCEPTION_INT_DIVIDE_BY_ZERO;
    case FPE_INTOVF: return EXCEPTION_INT_OVERFLOW;
    case FPE_FLTDIV: return EXCEPTION_FLT_DIVIDE_BY_ZERO;
    case FPE_FLTOVF: return EXCEPTION_FLT_OVERFLOW;
    case FPE_FLTUND: return EXCEPTION_FLT_UNDERFLOW;
    case FPE_FLTRES: return EXCEPTION_FLT_INEXACT_RESULT;
    case FPE_FLTSUB: return EXCEPTION_ARRAY_BOUNDS_EXCEEDED;
    default: return EXCEPTION_FLT_INVALID_OPERATION;
  }
}

// Codes at or below zero are those a process gives (SI_USER, SI_QUEUE, SI_TKILL, ...); the
// processor's faults come with positive ones.
bool IsSent(const siginfo_t& info) { return info.si_code <= 0; }

DWORD SentCode(int signal) {
  switch (signal) {
    case SIGSEGV: return EXCEPTION_ACCESS_VIOLATION;
    case SIGBUS: return EXCEPTION_IN_PAGE_ERROR;
    case SIGFPE: return EXCEPTION_FLT_INVALID_OPERATION;
    case SIGILL: return EXCEPTION_ILLEGAL_INSTRUCTION;
    case SIGTRAP: return EXCEPTION_BREAKPOINT;
    case SIGABRT: return EXCEPTION_FATAL_APP_EXIT;
    default: return EXCEPTION_INVALID_SYSTEM_SERVICE;
  }
}

}  // namespace

void DescribeFault(int signal, const siginfo_t& info, const ucontext_t& context, StackBounds stack,
                   EXCEPTION_RECORD& record, CONTEXT& registers) {
  const greg_t* g = context.uc_mcontext.gregs;
  registers = CONTEXT{};
  registers.EFlags = static_cast<DWORD>(g[REG_EFL]);
  registers.Rax = static_cast<std::uint64_t>(g[REG_RAX]);
  registers.Rcx = static_cast<std::uint64_t>(g[REG_RCX]);
  registers.Rdx = static_cast<std::uint64_t>(g[REG_RDX]);
  registers.Rbx = static_cast<std::uint64_t>(g[REG_RBX]);
  registers.Rsp = static_cast<std::uint64_t>(g[REG_RSP]);
  registers.Rbp = static_cast<std::uint64_t>(g[REG_RBP]);
  registers.Rsi = static_cast<std::uint64_t>(g[REG_RSI]);
  registers.Rdi = static_cast<std::uint64_t>(g[REG_RDI]);
  registers.R8 = static_cast<std::uint64_t>(g[REG_R8]);
  registers.R9 = static_cast<std::uint64_t>(g[REG_R9]);
  registers.R10 = static_cast<std::uint64_t>(g[REG_R10]);
  registers.R11 = static_cast<std::uint64_t>(g[REG_R11]);
  registers.R12 = static_cast<std::uint64_t>(g[REG_R12]);
  registers.R13 = static_cast<std::uint64_t>(g[REG_R13]);
  registers.R14 = static_cast<std::uint64_t>(g[REG_R14]);
  registers.R15 = static_cast<std::uint64_t>(g[REG_R15]);
  registers.Rip = static_cast<std::uint64_t>(g[REG_RIP]);

  record = EXCEPTION_RECORD{};
  record.ExceptionAddress = reinterpret_cast<void*>(registers.Rip);
  auto address = reinterpret_cast<ULONG_PTR>(info.si_addr);
  // A signal sent by kill() or sigqueue() carries the sender's id where a fault's address would
  // be. abort() sends its own SIGABRT: that one stays the program's fatal exit.
  if (IsSent(info) && !(signal == SIGABRT && info.si_pid == ::getpid())) {
    record.ExceptionCode = SentCode(signal);
    record.ExceptionFlags = signal == SIGABRT ? EXCEPTION_NONCONTINUABLE : 0;
    SetAccess(record, kSentByProcess, static_cast<ULONG_PTR>(info.si_pid));
    return;
  }
  switch (signal) {
    case SIGSEGV: {
      if (IsStackOverflow(address, stack)) {
        record.ExceptionCode = EXCEPTION_STACK_OVERFLOW;
        SetAccess(record, 1, address);
        break;
      }
      record.ExceptionCode = EXCEPTION_ACCESS_VIOLATION;
      greg_t error = g[REG_ERR];
      SetAccess(record, (error & kFetchBit) ? 8 : (error & kWriteBit) ? 1 : 0, address);
      break;
    }
    case SIGBUS:
      if (info.si_code == BUS_ADRALN) {
        record.ExceptionCode = EXCEPTION_DATATYPE_MISALIGNMENT;
      } else {
        record.ExceptionCode = EXCEPTION_IN_PAGE_ERROR;
        SetAccess(record, 0, address);
        record.NumberParameters = 3;
        record.ExceptionInformation[2] = 0xC000009C;
      }
      break;
    case SIGFPE: record.ExceptionCode = FloatingPointCode(info.si_code); break;
    case SIGILL:
      record.ExceptionCode = info.si_code == ILL_PRVOPC || info.si_code == ILL_PRVREG ? EXCEPTION_PRIV_INSTRUCTION
                                                                                      : EXCEPTION_ILLEGAL_INSTRUCTION;
      break;
    case SIGTRAP:
      if (info.si_code == TRAP_TRACE) {
        record.ExceptionCode = EXCEPTION_SINGLE_STEP;
      } else {
        // int3 leaves the instruction pointer after itself; the fault is the int3.
        record.ExceptionCode = EXCEPTION_BREAKPOINT;
        record.ExceptionAddress = reinterpret_cast<void*>(registers.Rip - 1);
      }
      break;
    case SIGABRT:
      // si_addr of an abort is the sender's id, not an address: no parameters.
      record.ExceptionCode = EXCEPTION_FATAL_APP_EXIT;
      record.ExceptionFlags = EXCEPTION_NONCONTINUABLE;
      break;
    default: record.ExceptionCode = EXCEPTION_INVALID_SYSTEM_SERVICE; break;
  }
}

void RestoreRegisters(const CONTEXT& r, ucontext_t& context) {
  greg_t* g = context.uc_mcontext.gregs;
  g[REG_EFL] = static_cast<greg_t>(r.EFlags);
  g[REG_RAX] = static_cast<greg_t>(r.Rax);
  g[REG_RCX] = static_cast<greg_t>(r.Rcx);
  g[REG_RDX] = static_cast<greg_t>(r.Rdx);
  g[REG_RBX] = static_cast<greg_t>(r.Rbx);
  g[REG_RSP] = static_cast<greg_t>(r.Rsp);
  g[REG_RBP] = static_cast<greg_t>(r.Rbp);
  g[REG_RSI] = static_cast<greg_t>(r.Rsi);
  g[REG_RDI] = static_cast<greg_t>(r.Rdi);
  g[REG_R8] = static_cast<greg_t>(r.R8);
  g[REG_R9] = static_cast<greg_t>(r.R9);
  g[REG_R10] = static_cast<greg_t>(r.R10);
  g[REG_R11] = static_cast<greg_t>(r.R11);
  g[REG_R12] = static_cast<greg_t>(r.R12);
  g[REG_R13] = static_cast<greg_t>(r.R13);
  g[REG_R14] = static_cast<greg_t>(r.R14);
  g[REG_R15] = static_cast<greg_t>(r.R15);
  g[REG_RIP] = static_cast<greg_t>(r.Rip);
}

}  // namespace win
