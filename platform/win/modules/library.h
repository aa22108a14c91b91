#pragma once
// Run-time libraries: LoadLibraryA / GetProcAddress / FreeLibrary.
//
// A name is first matched against the fixed table of the libraries that the program's design
// binds at run time from the system, which this platform provides in-process: "Wtsapi32",
// "wsock32", "version.dll", "kernel32" (GetModuleHandleExA) and "dbghelp.dll" (once the
// stack walk is offered, debug_help.h). Their names match without regard to case and with or
// without ".dll". Any other name goes to the dynamic loader, so real shared libraries
// ("libz.so.1") bind the same way.
#include <span>

#include "platform/win/types.h"

struct HINSTANCE__;
using HMODULE = HINSTANCE__*;
using FARPROC = void (*)();

// 0 and ERROR_MOD_NOT_FOUND when nothing answers to the name. Loading a library again
// returns the same handle and counts one more reference.
HMODULE LoadLibraryA(const char* name);
// 0 and ERROR_PROC_NOT_FOUND when the library has no such procedure.
FARPROC GetProcAddress(HMODULE module, const char* procName);
// Drops one reference; the library goes when the last one does. FALSE for a bad handle.
BOOL FreeLibrary(HMODULE module);

inline constexpr DWORD ERROR_INVALID_HANDLE = 6;
inline constexpr DWORD ERROR_MOD_NOT_FOUND = 126;
inline constexpr DWORD ERROR_PROC_NOT_FOUND = 127;

namespace win {
// A procedure of an in-process library. The tables are static, so binding allocates nothing.
struct LibraryExport {
  const char* name;
  FARPROC address;
};
using LibraryExports = std::span<const LibraryExport>;

// Converts any function pointer to the FARPROC that a provider exports.
template <class F>
FARPROC ExportOf(F* function) {
  return reinterpret_cast<FARPROC>(function);
}
}  // namespace win
