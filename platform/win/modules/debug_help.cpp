#include "platform/win/modules/debug_help.h"

#define UNW_LOCAL_ONLY
#include <dlfcn.h>
#include <libunwind.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <mutex>

#include "platform/win/modules/fault_description.h"
#include "platform/win/modules/library.h"
#include "platform/win/modules/module_handle.h"
#include "platform/win/modules/module_map.h"
#include "platform/win/modules/own_memory.h"
#include "platform/win/system/last_error.h"

namespace {

// libunwind's local-only procedures; only the types come from its header, the code is bound
// at run time (linking it would make it the process's C++ exception unwinder).
struct Unwinder {
  int (*initLocal2)(unw_cursor_t*, unw_context_t*, int) = nullptr;
  int (*step)(unw_cursor_t*) = nullptr;
  int (*getReg)(unw_cursor_t*, unw_regnum_t, unw_word_t*) = nullptr;
};
Unwinder gUnwinder;
std::once_flag gLoaded;
bool gAvailable = false;
std::atomic<bool> gOffered{false};  // the stack walk works and was tried once

template <class Proc>
bool Bind(void* library, const char* name, Proc& proc) {
  proc = reinterpret_cast<Proc>(dlsym(library, name));
  return proc != nullptr;
}

void LoadUnwinder() {
  // "libunwind.so.8" is the one libunwind package; "libunwind.so.1" is another library.
  void* library = dlopen("libunwind.so.8", RTLD_NOW | RTLD_LOCAL);
  gAvailable = library != nullptr && Bind(library, "_ULx86_64_init_local2", gUnwinder.initLocal2) &&
               Bind(library, "_ULx86_64_step", gUnwinder.step) && Bind(library, "_ULx86_64_get_reg", gUnwinder.getReg);
}

// One walk at a time: the reporter walks the faulting thread once. The frame handed back
// carries the walk's serial number, so a fresh STACKFRAME64 starts a new walk.
struct Walk {
  ucontext_t registers;  // the cursors keep pointers into it: it lives as long as the walk
  ucontext_t caller;     // ... and into this, when the first frame lies in no module
  unw_cursor_t next;     // the caller of the frame last returned
  bool hasNext = false;
  DWORD64 serial = 0;
};
Walk gWalk;
std::atomic<DWORD64> gSerial{0};

void ContextToUcontext(const CONTEXT& context, ucontext_t& uc) {
  std::memset(&uc, 0, sizeof uc);
  win::RestoreRegisters(context, uc);
}

DWORD64 Register(unw_cursor_t& cursor, unw_regnum_t reg) {
  unw_word_t value = 0;
  gUnwinder.getReg(&cursor, reg, &value);
  return value;
}

void SetAddress(ADDRESS64& address, DWORD64 offset) { address = {offset, 0, AddrModeFlat}; }

// Moves `cursor` to its caller; false at the outermost frame or when the unwind information
// gives out.
bool StepToCaller(unw_cursor_t& cursor) { return gUnwinder.step(&cursor) > 0 && Register(cursor, UNW_REG_IP) != 0; }

// Fills the frame whose registers `frameCursor` holds; gWalk.next becomes its caller. A frame
// whose caller cannot be found is the last: the outermost one is not reported, but the fault's
// own frame always is (with the context's frame pointer), so a walk never comes back empty.
bool ReportFrame(unw_cursor_t& frameCursor, STACKFRAME64& frame, DWORD64 contextFramePointer, bool first) {
  DWORD64 pc = Register(frameCursor, UNW_REG_IP), sp = Register(frameCursor, UNW_REG_SP);
  gWalk.next = frameCursor;
  gWalk.hasNext = StepToCaller(gWalk.next);
  if (!gWalk.hasNext && !first) return false;
  SetAddress(frame.AddrPC, pc);
  SetAddress(frame.AddrStack, sp);
  SetAddress(frame.AddrReturn, gWalk.hasNext ? Register(gWalk.next, UNW_REG_IP) : 0);
  // The caller's stack pointer is this frame's canonical frame address.
  SetAddress(frame.AddrFrame, gWalk.hasNext ? Register(gWalk.next, UNW_REG_SP) - 16 : contextFramePointer);
  return true;
}

// Reads a word of this process without faulting: an address that cannot be read says so.
bool ReadWord(std::uintptr_t address, std::uint64_t& value) {
  return win::ReadOwnMemory(address, &value, sizeof value);
}

bool InSomeModule(std::uintptr_t address) {
  win::LoadedModule module;
  return win::FindModuleOfAddress(address, module);
}

// A fault whose instruction lies in no module (a call through a null or stale pointer, a jump
// to garbage) has no unwind information to step by. When the stack pointer holds a return
// address into a module, a call brought it there: that call's procedure is the caller, with
// the stack pointer above the return address and every other register as it is.
bool CallerOfStrayInstruction(const ucontext_t& registers, ucontext_t& caller) {
  const greg_t* g = registers.uc_mcontext.gregs;
  auto pc = static_cast<std::uintptr_t>(g[REG_RIP]), sp = static_cast<std::uintptr_t>(g[REG_RSP]);
  std::uint64_t returnAddress = 0;
  if (InSomeModule(pc) || !ReadWord(sp, returnAddress) || !InSomeModule(returnAddress)) return false;
  caller = registers;
  caller.uc_mcontext.gregs[REG_RIP] = static_cast<greg_t>(returnAddress);
  caller.uc_mcontext.gregs[REG_RSP] = static_cast<greg_t>(sp + 8);
  return true;
}

// The first frame of a walk whose instruction lies in no module: its caller comes from the
// return address at the stack pointer, and libunwind walks on from there.
bool ReportStrayFrame(STACKFRAME64& frame) {
  // A return address, not an interrupted instruction: libunwind looks up the call before it.
  if (gUnwinder.initLocal2(&gWalk.next, &gWalk.caller, 0) != 0) return false;
  gWalk.hasNext = true;
  const greg_t* g = gWalk.registers.uc_mcontext.gregs;
  const greg_t* caller = gWalk.caller.uc_mcontext.gregs;
  SetAddress(frame.AddrPC, static_cast<DWORD64>(g[REG_RIP]));
  SetAddress(frame.AddrStack, static_cast<DWORD64>(g[REG_RSP]));
  SetAddress(frame.AddrReturn, static_cast<DWORD64>(caller[REG_RIP]));
  SetAddress(frame.AddrFrame, static_cast<DWORD64>(caller[REG_RSP]) - 16);
  return true;
}

DWORD SymSetOptions(DWORD options) { return options; }

BOOL SymInitialize(HANDLE, const char*, BOOL) { return gAvailable ? TRUE : FALSE; }

DWORD64 SymGetModuleBase64(HANDLE, DWORD64 address) {
  win::LoadedModule module;
  return win::FindModuleOfAddress(static_cast<std::uintptr_t>(address), module) ? module.base : 0;
}

// No function tables to hand out: the unwind information is libunwind's. A module address
// answers non-null, as a table entry would exist for it.
void* SymFunctionTableAccess64(HANDLE process, DWORD64 address) {
  return reinterpret_cast<void*>(SymGetModuleBase64(process, address));
}

BOOL StackWalk64(DWORD machineType, HANDLE, HANDLE, STACKFRAME64* frame, void* context,
                 PREAD_PROCESS_MEMORY_ROUTINE64, PFUNCTION_TABLE_ACCESS_ROUTINE64, PGET_MODULE_BASE_ROUTINE64,
                 PTRANSLATE_ADDRESS_ROUTINE64) {
  if (machineType != IMAGE_FILE_MACHINE_AMD64 || frame == nullptr || context == nullptr || !gAvailable) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (frame->Reserved[0] == 0 || frame->Reserved[0] != gWalk.serial) {
    // A new walk: its first frame is the context's own.
    const auto& registers = *static_cast<const CONTEXT*>(context);
    ContextToUcontext(registers, gWalk.registers);
    gWalk.serial = ++gSerial;
    gWalk.hasNext = false;
    frame->Reserved[0] = gWalk.serial;
    if (CallerOfStrayInstruction(gWalk.registers, gWalk.caller) && ReportStrayFrame(*frame)) return TRUE;
    unw_cursor_t cursor;
    if (gUnwinder.initLocal2(&cursor, &gWalk.registers, UNW_INIT_SIGNAL_FRAME) != 0) return FALSE;
    return ReportFrame(cursor, *frame, registers.Rbp, true) ? TRUE : FALSE;
  }
  if (!gWalk.hasNext) return FALSE;
  unw_cursor_t caller = gWalk.next;
  return ReportFrame(caller, *frame, 0, false) ? TRUE : FALSE;
}

}  // namespace

HANDLE GetCurrentProcess() { return reinterpret_cast<HANDLE>(~std::uintptr_t{0}); }
HANDLE GetCurrentThread() { return reinterpret_cast<HANDLE>(~std::uintptr_t{1}); }
DWORD GetCurrentProcessId() { return static_cast<DWORD>(::getpid()); }

namespace win {

bool OfferDebugHelp() {
  std::call_once(gLoaded, [] {
    LoadUnwinder();
    if (!gAvailable) return;
    // One walk now, so that libunwind's first-use work (its caches, the loader's look-ups)
    // is done before a fault needs it.
    ucontext_t uc;
    getcontext(&uc);
    unw_cursor_t cursor;
    if (gUnwinder.initLocal2(&cursor, &uc, 0) == 0) {
      while (gUnwinder.step(&cursor) > 0) {
      }
    }
    win::TakeModuleSnapshot();
    gOffered.store(true);
  });
  return gAvailable;
}

LibraryExports DebugHelpExports() {
  static const LibraryExport kExports[] = {{"SymSetOptions", ExportOf(&SymSetOptions)},
                                           {"SymInitialize", ExportOf(&SymInitialize)},
                                           {"StackWalk64", ExportOf(&StackWalk64)},
                                           {"SymFunctionTableAccess64", ExportOf(&SymFunctionTableAccess64)},
                                           {"SymGetModuleBase64", ExportOf(&SymGetModuleBase64)}};
  if (!gOffered.load()) return {};
  return kExports;
}

}  // namespace win
