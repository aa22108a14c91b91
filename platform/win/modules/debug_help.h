#pragma once
// The debug-help library ("dbghelp.dll") as an in-process provider: the stack walk of a
// fault's context, done by libunwind. libunwind is loaded at run time; without it the provider
// is not offered and LoadLibraryA("dbghelp.dll") fails, as it does where the library is missing.
#include <cstdint>

#include "platform/win/files/files.h"
#include "platform/win/modules/exception_records.h"
#include "platform/win/modules/library.h"
#include "platform/win/types.h"

using DWORD64 = std::uint64_t;

enum ADDRESS_MODE { AddrMode1616, AddrMode1632, AddrModeReal, AddrModeFlat };

struct ADDRESS64 {
  DWORD64 Offset;
  WORD Segment;
  ADDRESS_MODE Mode;
};

// One frame of a walk. On x86-64: AddrPC the frame's instruction (the fault's for the first
// frame, a return address for the others), AddrReturn where it returns to, AddrStack its stack
// pointer, and AddrFrame the slot below its return address where a frame pointer would be
// saved (the canonical frame address - 16), so the saved frame pointer and the return address
// lie at AddrFrame and AddrFrame + 8 whether or not the code keeps a frame pointer.
// A first frame whose instruction lies in no module (a call through a null or stale pointer)
// has the return address at its stack pointer as its caller, when that address lies in a
// module; the walk goes on from there.
struct STACKFRAME64 {
  ADDRESS64 AddrPC;
  ADDRESS64 AddrReturn;
  ADDRESS64 AddrFrame;
  ADDRESS64 AddrStack;
  ADDRESS64 AddrBStore;
  void* FuncTableEntry;
  DWORD64 Params[4];
  BOOL Far;
  BOOL Virtual;
  DWORD64 Reserved[3];  // the walk's own: which walk the frame belongs to
};

inline constexpr DWORD IMAGE_FILE_MACHINE_I386 = 0x014C;
inline constexpr DWORD IMAGE_FILE_MACHINE_AMD64 = 0x8664;
inline constexpr DWORD SYMOPT_DEFERRED_LOADS = 0x4;
inline constexpr DWORD SYMOPT_LOAD_ANYTHING = 0x40;

using PREAD_PROCESS_MEMORY_ROUTINE64 = BOOL (*)(HANDLE, DWORD64, void*, DWORD, DWORD*);
using PFUNCTION_TABLE_ACCESS_ROUTINE64 = void* (*)(HANDLE, DWORD64);
using PGET_MODULE_BASE_ROUTINE64 = DWORD64 (*)(HANDLE, DWORD64);
using PTRANSLATE_ADDRESS_ROUTINE64 = DWORD64 (*)(HANDLE, HANDLE, ADDRESS64*);

// The procedures as bound through GetProcAddress.
using SymSetOptionsProc = DWORD (*)(DWORD options);
using SymInitializeProc = BOOL (*)(HANDLE process, const char* searchPath, BOOL invadeProcess);
using StackWalk64Proc = BOOL (*)(DWORD machineType, HANDLE process, HANDLE thread, STACKFRAME64* frame,
                                 void* context, PREAD_PROCESS_MEMORY_ROUTINE64 readMemory,
                                 PFUNCTION_TABLE_ACCESS_ROUTINE64 functionTableAccess,
                                 PGET_MODULE_BASE_ROUTINE64 getModuleBase, PTRANSLATE_ADDRESS_ROUTINE64 translate);
using SymFunctionTableAccess64Proc = void* (*)(HANDLE process, DWORD64 address);
using SymGetModuleBase64Proc = DWORD64 (*)(HANDLE process, DWORD64 address);

// Pseudo handles of the calling process and thread, and the process id.
HANDLE GetCurrentProcess();
HANDLE GetCurrentThread();
DWORD GetCurrentProcessId();

namespace win {
// Loads libunwind ("libunwind.so.8") and walks the calling thread's stack once (so a walk at
// fault time touches nothing new); from then on LoadLibraryA finds "dbghelp.dll". Never call
// it from a signal handler. False, and no "dbghelp.dll", when libunwind cannot be loaded.
bool OfferDebugHelp();
// The procedures of "dbghelp.dll"; none before the stack walk was offered, or without it.
LibraryExports DebugHelpExports();
}  // namespace win
