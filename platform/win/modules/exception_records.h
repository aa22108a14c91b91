#pragma once
// What a fault looks like to a filter: the exception record, the processor context (x86-64)
// and the pair that points to both, with the codes and answers the design's filters use.
#include "platform/win/types.h"

inline constexpr int EXCEPTION_MAXIMUM_PARAMETERS = 15;
// ExceptionFlags: a fault that cannot be resumed (abort(), the runtime's fatal errors).
inline constexpr DWORD EXCEPTION_NONCONTINUABLE = 0x1;

// ExceptionInformation[0] of a fault that no instruction caused: another process sent the signal.
inline constexpr ULONG_PTR kSentByProcess = 0x53454E54;

struct EXCEPTION_RECORD {
  DWORD ExceptionCode;
  DWORD ExceptionFlags;
  EXCEPTION_RECORD* ExceptionRecord;  // a chained record; never set here
  void* ExceptionAddress;
  DWORD NumberParameters;
  // Access violations: [0] 0 read, 1 write, 8 instruction fetch; [1] the address.
  // A signal another process sent: [0] kSentByProcess, [1] the sender's process id.
  ULONG_PTR ExceptionInformation[EXCEPTION_MAXIMUM_PARAMETERS];
};

// The general registers, instruction pointer and flags of the faulting thread.
struct CONTEXT {
  DWORD ContextFlags;
  DWORD EFlags;
  std::uint64_t Rax, Rcx, Rdx, Rbx, Rsp, Rbp, Rsi, Rdi;
  std::uint64_t R8, R9, R10, R11, R12, R13, R14, R15;
  std::uint64_t Rip;
};

struct EXCEPTION_POINTERS {
  EXCEPTION_RECORD* ExceptionRecord;
  CONTEXT* ContextRecord;
};

// Exception codes that faults of this system produce.
inline constexpr DWORD EXCEPTION_ACCESS_VIOLATION = 0xC0000005;
inline constexpr DWORD EXCEPTION_IN_PAGE_ERROR = 0xC0000006;
inline constexpr DWORD EXCEPTION_INVALID_SYSTEM_SERVICE = 0xC000001C;
inline constexpr DWORD EXCEPTION_ILLEGAL_INSTRUCTION = 0xC000001D;
inline constexpr DWORD EXCEPTION_DATATYPE_MISALIGNMENT = 0x80000002;
inline constexpr DWORD EXCEPTION_BREAKPOINT = 0x80000003;
inline constexpr DWORD EXCEPTION_SINGLE_STEP = 0x80000004;
inline constexpr DWORD EXCEPTION_ARRAY_BOUNDS_EXCEEDED = 0xC000008C;
inline constexpr DWORD EXCEPTION_FLT_DIVIDE_BY_ZERO = 0xC000008E;
inline constexpr DWORD EXCEPTION_FLT_INEXACT_RESULT = 0xC000008F;
inline constexpr DWORD EXCEPTION_FLT_INVALID_OPERATION = 0xC0000090;
inline constexpr DWORD EXCEPTION_FLT_OVERFLOW = 0xC0000091;
inline constexpr DWORD EXCEPTION_FLT_UNDERFLOW = 0xC0000093;
inline constexpr DWORD EXCEPTION_INT_DIVIDE_BY_ZERO = 0xC0000094;
inline constexpr DWORD EXCEPTION_INT_OVERFLOW = 0xC0000095;
inline constexpr DWORD EXCEPTION_PRIV_INSTRUCTION = 0xC0000096;
inline constexpr DWORD EXCEPTION_STACK_OVERFLOW = 0xC00000FD;
inline constexpr DWORD EXCEPTION_FATAL_APP_EXIT = 0x40000015;  // abort()
inline constexpr DWORD EXCEPTION_CPP_EXCEPTION = 0xE06D7363;   // a C++ exception nobody caught

// A filter's answers.
inline constexpr LONG EXCEPTION_CONTINUE_SEARCH = 0;      // decline: the fault goes on as without a filter
inline constexpr LONG EXCEPTION_EXECUTE_HANDLER = 1;      // handled: the process ends
inline constexpr LONG EXCEPTION_CONTINUE_EXECUTION = -1;  // resume with the (changed) context
