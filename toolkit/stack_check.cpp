#include "toolkit/stack_check.h"

#include <array>
#include <cstddef>
#include <cstdlib>

#include "platform/rt/dialogs.h"
#include "toolkit/clip.h"
#include "toolkit/debug_output.h"
#include "toolkit/hex_format.h"

namespace {

constexpr LONG kLevels = 255;
constexpr std::size_t kReportLimit = 256;
constexpr const char* kCaption = "kx_TestStack";

// A snapshot is the whole block; EAX and the flags in it are never compared.
struct ThreadStack {
  LONG KX_TSLEVEL = 0;
  std::array<kx_RegisterBlock, kLevels> KX_TSDATA{};
};

thread_local ThreadStack tStack;

// The top snapshot; an empty one when the level holds none.
kx_RegisterBlock TopSnapshot() {
  LONG level = tStack.KX_TSLEVEL;
  return level >= 1 && level <= kLevels ? tStack.KX_TSDATA[static_cast<std::size_t>(level - 1)] : kx_RegisterBlock{};
}

LONG ChangedRegisters(const kx_RegisterBlock& now, const kx_RegisterBlock& saved) {
  LONG mask = 0;
  if (now.EBX != saved.EBX) mask |= KX_REG_EBX;
  if (now.ECX != saved.ECX) mask |= KX_REG_ECX;
  if (now.EDX != saved.EDX) mask |= KX_REG_EDX;
  if (now.ESI != saved.ESI) mask |= KX_REG_ESI;
  if (now.EDI != saved.EDI) mask |= KX_REG_EDI;
  return mask;
}

// A damaged stack cannot be returned on: the fault ends the program, through the crash
// reporter when one is installed.
[[noreturn]] void Corrupted(const char* text) {
  MESSAGE(text, kCaption, ICON::Asterisk);
  std::abort();
}

}  // namespace

extern "C" void kx__SaveStack(const kx_RegisterBlock* pRegs) {
  LONG level = ++tStack.KX_TSLEVEL;
  if (level > kLevels) {
    kx_OutputDebugString("kx_SaveStack : Too many levels, kx_TSLevel=" + std::to_string(level), 1);
    return;
  }
  tStack.KX_TSDATA[static_cast<std::size_t>(level - 1)] = *pRegs;
}

extern "C" void kx__TestStack(const kx_RegisterBlock* pRegs) {
  LONG level = tStack.KX_TSLEVEL;
  if (level < 1) {
    MESSAGE("SaveStack - TestStack pair mismatch", kCaption, ICON::Asterisk);
    return;  // the level stays 0, so later saves start from the bottom again
  }
  if (level <= kLevels) {
    kx_RegisterBlock saved = TopSnapshot();
    if (pRegs->ESP != saved.ESP) Corrupted("ESP corrupted, program will GPF");
    if (pRegs->EBP != saved.EBP) Corrupted("EBP corrupted, program will GPF");
    if (LONG mask = ChangedRegisters(*pRegs, saved)) {
      std::string prefix = "\r\n" + std::string(13, ' ');
      kx_OutputDebugString(
          "kx_TestStack kx_TSLevel=" + std::to_string(level) + prefix + kx__GetCurrentRegisters2(pRegs, mask, prefix), 1);
    }
  }
  tStack.KX_TSLEVEL = level - 1;
}

std::string kx__GetCurrentRegisters2(const kx_RegisterBlock* pRegs, LONG pChangedMask, std::string_view pNewLinePrefix) {
  kx_RegisterBlock saved = TopSnapshot();
  struct Register {
    LONG bit;
    const char* name;
    ULONG now;
    ULONG last;
  } registers[] = {
      {KX_REG_EBX, "EBX", pRegs->EBX, saved.EBX}, {KX_REG_ECX, "ECX", pRegs->ECX, saved.ECX},
      {KX_REG_EDX, "EDX", pRegs->EDX, saved.EDX}, {KX_REG_ESI, "ESI", pRegs->ESI, saved.ESI},
      {KX_REG_EDI, "EDI", pRegs->EDI, saved.EDI},
  };
  std::string report;
  for (const Register& r : registers) {
    if (!(pChangedMask & r.bit)) continue;
    if (!report.empty()) report.append(pNewLinePrefix);
    report.append(r.name).append("=").append(kx_FormatHex(r.now, 8));
    report.append(" LAST ").append(r.name).append("=").append(kx_FormatHex(r.last, 8));
  }
  if (report.size() > kReportLimit) report.resize(kReportLimit);
  return std::string(Clip(report));
}

#if defined(__x86_64__)

static_assert(offsetof(kx_RegisterBlock, EBP) == 16 && offsetof(kx_RegisterBlock, ESP) == 24 &&
                  sizeof(kx_RegisterBlock) == 48,
              "the hooks below write the block at these offsets");

// Each hook lays a block on its own stack (48 bytes, and 8 more so that the call finds the
// stack 16-byte aligned), records the frame pointer and the caller's stack pointer as it was
// before the call (the entry stack pointer + 8 = the block + 64), zeroes the rest and hands
// the block over. They are called as C functions, so only the registers that C functions
// keep are kept.
#define KX_STACK_HOOK(hook, procedure)      \
  ".text\n"                                 \
  ".globl " hook "\n"                       \
  ".type " hook ", @function\n" hook ":\n"  \
  ".cfi_startproc\n"                        \
  "subq $56, %rsp\n"                        \
  ".cfi_adjust_cfa_offset 56\n"             \
  "movq $0, 0(%rsp)\n"                      \
  "movq $0, 8(%rsp)\n"                      \
  "movq $0, 32(%rsp)\n"                     \
  "movq $0, 40(%rsp)\n"                     \
  "movq %rbp, 16(%rsp)\n"                   \
  "leaq 64(%rsp), %rax\n"                   \
  "movq %rax, 24(%rsp)\n"                   \
  "movq %rsp, %rdi\n"                       \
  "call " procedure "@PLT\n"                \
  "addq $56, %rsp\n"                        \
  ".cfi_adjust_cfa_offset -56\n"            \
  "ret\n"                                   \
  ".cfi_endproc\n"                          \
  ".size " hook ", .-" hook "\n"

asm(KX_STACK_HOOK("SaveStackHook", "kx__SaveStack") KX_STACK_HOOK("TestStackHook", "kx__TestStack"));

#else

// Elsewhere the hooks keep the caller's stack pointer only (the frame pointer stays 0).
extern "C" __attribute__((noinline)) void SaveStackHook() {
  kx_RegisterBlock block;
  block.ESP = reinterpret_cast<std::uintptr_t>(__builtin_dwarf_cfa());
  kx__SaveStack(&block);
}

extern "C" __attribute__((noinline)) void TestStackHook() {
  kx_RegisterBlock block;
  block.ESP = reinterpret_cast<std::uintptr_t>(__builtin_dwarf_cfa());
  kx__TestStack(&block);
}

#endif
