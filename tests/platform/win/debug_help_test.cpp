#include <ucontext.h>

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/win/modules/debug_help.h"
#include "platform/win/modules/module_handle.h"

namespace {

// Three calls deep, each noting where it returns to; the innermost takes the context and
// hands it on while the frames are live.
void* gReturns[3];
void (*gAtInnermost)(CONTEXT&);

CONTEXT ContextOf(const ucontext_t& uc) {
  const greg_t* r = uc.uc_mcontext.gregs;
  CONTEXT c{};
  c.Rax = r[REG_RAX], c.Rcx = r[REG_RCX], c.Rdx = r[REG_RDX], c.Rbx = r[REG_RBX];
  c.Rsp = r[REG_RSP], c.Rbp = r[REG_RBP], c.Rsi = r[REG_RSI], c.Rdi = r[REG_RDI];
  c.R8 = r[REG_R8], c.R9 = r[REG_R9], c.R10 = r[REG_R10], c.R11 = r[REG_R11];
  c.R12 = r[REG_R12], c.R13 = r[REG_R13], c.R14 = r[REG_R14], c.R15 = r[REG_R15];
  c.Rip = r[REG_RIP];
  return c;
}

[[gnu::noinline]] void Innermost() {
  gReturns[0] = __builtin_return_address(0);
  ucontext_t uc;
  getcontext(&uc);
  CONTEXT context = ContextOf(uc);
  gAtInnermost(context);
  asm volatile("" ::: "memory");
}
[[gnu::noinline]] void Middle() {
  gReturns[1] = __builtin_return_address(0);
  Innermost();
  asm volatile("" ::: "memory");
}
[[gnu::noinline]] void Outer() {
  gReturns[2] = __builtin_return_address(0);
  Middle();
  asm volatile("" ::: "memory");
}

struct Procs {
  StackWalk64Proc walk;
  SymFunctionTableAccess64Proc tables;
  SymGetModuleBase64Proc base;
};

Procs Bound() {
  EXPECT_TRUE(win::OfferDebugHelp()) << "libunwind.so.8 is installed here";
  HMODULE library = LoadLibraryA("dbghelp.dll");
  EXPECT_NE(library, nullptr);
  auto init = reinterpret_cast<SymInitializeProc>(GetProcAddress(library, "SymInitialize"));
  auto options = reinterpret_cast<SymSetOptionsProc>(GetProcAddress(library, "SymSetOptions"));
  EXPECT_TRUE(init != nullptr && options != nullptr);
  options(SYMOPT_DEFERRED_LOADS | SYMOPT_LOAD_ANYTHING);
  EXPECT_TRUE(init(GetCurrentProcess(), nullptr, TRUE));
  return {reinterpret_cast<StackWalk64Proc>(GetProcAddress(library, "StackWalk64")),
          reinterpret_cast<SymFunctionTableAccess64Proc>(GetProcAddress(library, "SymFunctionTableAccess64")),
          reinterpret_cast<SymGetModuleBase64Proc>(GetProcAddress(library, "SymGetModuleBase64"))};
}

Procs gProcs;
std::vector<STACKFRAME64> gFrames;

void Walk(CONTEXT& context) {
  STACKFRAME64 frame{};
  frame.AddrPC = {context.Rip, 0, AddrModeFlat};
  frame.AddrFrame = {context.Rbp, 0, AddrModeFlat};
  frame.AddrStack = {context.Rsp, 0, AddrModeFlat};
  gFrames.clear();
  while (gFrames.size() < 200 && gProcs.walk(IMAGE_FILE_MACHINE_AMD64, GetCurrentProcess(), GetCurrentThread(), &frame,
                                             &context, nullptr, gProcs.tables, gProcs.base, nullptr)) {
    gFrames.push_back(frame);
    // Each frame's return-address slot, read while the frames are live.
    std::memcpy(&gFrames.back().Params[0], reinterpret_cast<const void*>(frame.AddrFrame.Offset + 8), 8);
  }
  gFrames.front().Params[1] = context.Rip;
}

TEST(DebugHelp, AWalkGivesEachFrameItsReturnAddressAndFrame) {
  gProcs = Bound();
  ASSERT_NE(gProcs.walk, nullptr);
  gAtInnermost = Walk;
  Outer();
  const auto& frames = gFrames;
  ASSERT_GE(frames.size(), 4u);
  EXPECT_EQ(frames[0].AddrPC.Offset, frames[0].Params[1]) << "the first frame is the context's own";
  for (int level = 1; level <= 3; ++level)
    EXPECT_EQ(frames[level].AddrPC.Offset, reinterpret_cast<DWORD64>(gReturns[level - 1])) << level;
  for (std::size_t i = 0; i + 1 < frames.size(); ++i) {
    const STACKFRAME64& f = frames[i];
    EXPECT_EQ(f.AddrReturn.Offset, frames[i + 1].AddrPC.Offset) << i;
    // Wherever the code keeps its frame pointer or not, the return address lies above AddrFrame.
    EXPECT_EQ(f.Params[0], f.AddrReturn.Offset) << i;
    EXPECT_LT(f.AddrStack.Offset, f.AddrFrame.Offset + 16) << i;
  }
  EXPECT_NE(gProcs.base(GetCurrentProcess(), frames[1].AddrPC.Offset), 0u);
  EXPECT_NE(gProcs.tables(GetCurrentProcess(), frames[1].AddrPC.Offset), nullptr);
}

// As if the innermost procedure had called a null pointer where it calls the walk: the
// instruction lies in no module, and the call's return address is at the stack pointer.
std::vector<DWORD64> gStrayWalk, gStrayWithoutCaller;

void WalkAfterAStrayCall(CONTEXT& context) {
  auto walk = [](CONTEXT stray, std::vector<DWORD64>& pcs) {
    STACKFRAME64 frame{};
    pcs.clear();
    while (pcs.size() < 8 && gProcs.walk(IMAGE_FILE_MACHINE_AMD64, GetCurrentProcess(), GetCurrentThread(), &frame,
                                         &stray, nullptr, gProcs.tables, gProcs.base, nullptr)) {
      pcs.push_back(frame.AddrPC.Offset);
      if (pcs.size() == 1) pcs.push_back(frame.AddrReturn.Offset);
    }
  };
  CONTEXT stray = context;
  stray.Rip = 0;
  stray.Rsp = context.Rsp - 8;  // where the call to this procedure left its return address
  walk(stray, gStrayWalk);
  std::uint64_t notACall[2] = {0x10, 0};
  stray.Rsp = reinterpret_cast<std::uint64_t>(notACall);
  walk(stray, gStrayWithoutCaller);
}

TEST(DebugHelp, AFrameInNoModuleReturnsToTheAddressAtItsStackPointer) {
  gProcs = Bound();
  ASSERT_NE(gProcs.walk, nullptr);
  gAtInnermost = WalkAfterAStrayCall;
  Outer();
  // pc 0, its return address, then the frames that return address leads to.
  ASSERT_GE(gStrayWalk.size(), 5u);
  EXPECT_EQ(gStrayWalk[0], 0u);
  EXPECT_EQ(gStrayWalk[2], gStrayWalk[1]) << "the caller is the return address";
  EXPECT_NE(gProcs.base(GetCurrentProcess(), gStrayWalk[2]), 0u);
  EXPECT_EQ(gStrayWalk[3], reinterpret_cast<DWORD64>(gReturns[0]));
  EXPECT_EQ(gStrayWalk[4], reinterpret_cast<DWORD64>(gReturns[1]));
  // A word that is no return address gives no caller: the fault's frame alone.
  ASSERT_GE(gStrayWithoutCaller.size(), 1u);
  EXPECT_EQ(gStrayWithoutCaller[0], 0u);
}

TEST(DebugHelp, ModulesAndRefusals) {
  Procs procs = Bound();
  HMODULE own = nullptr;
  ASSERT_TRUE(GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                                 reinterpret_cast<const char*>(&Outer), &own));
  EXPECT_EQ(procs.base(GetCurrentProcess(), reinterpret_cast<DWORD64>(&Outer)), reinterpret_cast<DWORD64>(own));
  int onTheStack = 0;
  EXPECT_EQ(procs.base(GetCurrentProcess(), reinterpret_cast<DWORD64>(&onTheStack)), 0u);
  EXPECT_EQ(procs.tables(GetCurrentProcess(), reinterpret_cast<DWORD64>(&onTheStack)), nullptr);

  CONTEXT context{};
  STACKFRAME64 frame{};
  EXPECT_FALSE(procs.walk(IMAGE_FILE_MACHINE_I386, GetCurrentProcess(), GetCurrentThread(), &frame, &context, nullptr,
                          procs.tables, procs.base, nullptr))
      << "only this machine's frames are walked";
  EXPECT_FALSE(procs.walk(IMAGE_FILE_MACHINE_AMD64, GetCurrentProcess(), GetCurrentThread(), &frame, nullptr, nullptr,
                          procs.tables, procs.base, nullptr));
}

}  // namespace
