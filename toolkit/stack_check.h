#pragma once
// The register-snapshot stack check: code bracketed by SaveStackHook() and TestStackHook()
// must leave the stack as it found it. The first hook pushes a snapshot of its caller's
// registers on a per-thread stack (255 deep), the second compares and pops. A moved stack
// or frame pointer shows a message and ends the program (it cannot go on safely); other
// changed registers are written to the debug output.
//
// On x86-64 the hooks capture the caller's stack and frame pointers; the other registers
// are not kept across C++ code (the calling convention lets any call change them), so the
// hooks record them as 0. The procedures below compare whole register blocks, which tests
// hand them directly.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/win/types.h"

// The registers a hook hands over, in the order of the design's push-all layout. The
// stack and frame pointers are pointer-sized.
struct kx_RegisterBlock {
  ULONG EFLAGS = 0;
  ULONG EDI = 0;
  ULONG ESI = 0;
  std::uintptr_t EBP = 0;
  std::uintptr_t ESP = 0;  // the caller's, as it was before it called the hook
  ULONG EBX = 0;
  ULONG EDX = 0;
  ULONG ECX = 0;
  ULONG EAX = 0;
};

// Changed-register mask bits.
inline constexpr LONG KX_REG_EBX = 0x02;
inline constexpr LONG KX_REG_ECX = 0x04;
inline constexpr LONG KX_REG_EDX = 0x08;
inline constexpr LONG KX_REG_ESI = 0x10;
inline constexpr LONG KX_REG_EDI = 0x20;

extern "C" {
void SaveStackHook();
void TestStackHook();
// Pushes a snapshot of the block (above 255 levels: a debug line, and nothing is kept).
void kx__SaveStack(const kx_RegisterBlock* pRegs);
// Compares the block with the top snapshot and pops it.
void kx__TestStack(const kx_RegisterBlock* pRegs);
}

// "EBX=" & current & " LAST EBX=" & saved (8 hex digits each) for every register of the
// mask, in the order EBX, ECX, EDX, ESI, EDI, the entries after the first preceded by
// pNewLinePrefix; at most 256 characters.
std::string kx__GetCurrentRegisters2(const kx_RegisterBlock* pRegs, LONG pChangedMask, std::string_view pNewLinePrefix);
