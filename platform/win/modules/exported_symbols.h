#pragma once
// The symbols a loaded library exports (its dynamic symbol table, as the loader mapped it), and
// the one nearest below an address. Read where the loader put them, without allocating or
// locking: usable in a signal handler.
#include <link.h>

#include <cstddef>
#include <cstdint>

namespace win {

struct ExportedSymbols {
  const ElfW(Sym)* symbols = nullptr;
  std::size_t count = 0;
  const char* names = nullptr;
  std::size_t namesSize = 0;
};

// The table of the image the loader describes; empty when it has none or one that does not
// lie within [base, end).
ExportedSymbols ReadExportedSymbols(const dl_phdr_info& info, std::uintptr_t base, std::uintptr_t end);

struct NearestSymbol {
  const char* name = "";   // as the library names it (mangled), NUL-ended within the table
  std::uintptr_t address = 0;
};

// The exported procedure starting nearest at or below `address` in the image loaded at
// `loadBias`; false when none does.
bool FindNearestSymbol(const ExportedSymbols& exports, std::uintptr_t loadBias, std::uintptr_t address,
                       NearestSymbol& nearest);

}  // namespace win
