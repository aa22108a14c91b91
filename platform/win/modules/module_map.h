#pragma once
// The program's loaded modules (the program file and every shared library), as a snapshot:
// each one's mapped range, its file's path (any length Linux allows), the build id that the
// loaded image carries, read from its notes in memory, and where its exported symbols lie.
//
// The list is read ahead (at first use and after every LoadLibraryA / FreeLibrary) into fixed
// storage, and the module services answer from that copy without allocating: they are usable
// in a signal handler. An address outside every module asks the loader whether anything was
// loaded or unloaded since (a library that another library loaded), and only then reads the
// list again; the loader's lock is recursive, so a fault inside the loader does not hang it.
#include <cstddef>
#include <cstdint>

#include "platform/win/modules/elf_notes.h"
#include "platform/win/modules/exported_symbols.h"

namespace win {

struct LoadedModule {
  std::uintptr_t base = 0;      // lowest mapped address: the module's handle
  std::uintptr_t end = 0;       // one past its highest mapped address
  std::uintptr_t loadBias = 0;  // what the loader added to the file's addresses
  const char* path = "";        // full path of the module's file ("" when it has none or too long a one)
  const BuildId* buildId = nullptr;  // the build id the loaded image carries (size 0: none)
  const ExportedSymbols* exports = nullptr;  // its dynamic symbols
};

// Reads the loader's list again. Never call it from a signal handler.
void TakeModuleSnapshot();

// The module whose mapped range holds the address, or whose base is the handle; false when
// none does. The first call of either takes the snapshot if none was taken yet.
bool FindModuleOfAddress(std::uintptr_t address, LoadedModule& module);
bool FindModuleOfHandle(std::uintptr_t handle, LoadedModule& module);
// The program's own file (always the first module of the list).
bool ProgramModule(LoadedModule& module);

}  // namespace win
