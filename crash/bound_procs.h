#pragma once
// A procedure in its binding cell, bound with kx_LoadDLLProc the first time. Construct binds
// every cell of the fault path ahead, so at fault time a bound or failed cell is only read,
// without touching the toolkit's per-thread error state, whose first use on a new thread
// allocates.
#include <string_view>

#include "toolkit/dll_binding.h"

namespace crash {
template <class Proc>
Proc BoundProc(std::string_view library, std::string_view name, kx_ProcCell& cell) {
  std::uintptr_t bound = cell.load();
  if (bound == KX_CELL_FAILED) return nullptr;
  if (bound == KX_CELL_UNTRIED && kx_LoadDLLProc(library, name, cell) != 0) return nullptr;
  return kx_BoundProc<Proc>(cell);
}
}  // namespace crash
