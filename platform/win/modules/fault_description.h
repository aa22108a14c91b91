#pragma once
// How a fault signal reads as an exception record and a context (x86-64 Linux):
//   SIGSEGV  C0000005h access violation: [0] 0 read, 1 write, 8 instruction fetch (the
//            page-fault error bits), [1] the address; C00000FDh when the address lies in the
//            stack's guard area (64 KiB below the stack's low bound to 4 KiB above it)
//   SIGBUS   80000002h misaligned; otherwise C0000006h in-page error ([0] 0, [1] the address,
//            [2] C000009Ch device data error)
//   SIGFPE   C0000094h integer division by zero, C0000095h integer overflow, the
//            floating-point codes (C000008Ch for a subscript out of range)
//   SIGILL   C0000096h privileged instruction or register, else C000001Dh
//   SIGTRAP  80000003h breakpoint (the address of the int3, before the instruction pointer),
//            80000004h single step
//   SIGABRT  40000015h, not continuable
//   SIGSYS   C000001Ch invalid system service
// A signal that another process sent (kill, sigqueue: si_code of the user's range) is no fault of
// an instruction: its code as above (SIGABRT's included), [0] kSentByProcess, [1] the sender's id.
#include <csignal>

#include "platform/win/modules/exception_records.h"
#include "platform/win/modules/unhandled_exception_filter.h"

namespace win {
void DescribeFault(int signal, const siginfo_t& info, const ucontext_t& context, StackBounds stack,
                   EXCEPTION_RECORD& record, CONTEXT& registers);
// Puts the context's registers into a signal's context (a filter that resumes, a stack walk
// that starts from a fault).
void RestoreRegisters(const CONTEXT& registers, ucontext_t& context);
}  // namespace win
