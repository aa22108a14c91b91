#pragma once
// Binding a procedure of a run-time library into a cell that the caller owns. The cell is
// also the cache: once bound a later call costs one comparison, and a failure is
// remembered and never retried.
#include <atomic>
#include <cstdint>
#include <string_view>

#include "platform/win/modules/library.h"
#include "platform/win/types.h"

// A pointer-sized cell: KX_CELL_UNTRIED, KX_CELL_FAILED, or the bound address.
using kx_ProcCell = std::atomic<std::uintptr_t>;
inline constexpr std::uintptr_t KX_CELL_UNTRIED = 0;
inline constexpr std::uintptr_t KX_CELL_FAILED = ~std::uintptr_t{0};

// 0 when the cell holds a usable address, 1 when the procedure is not available. Names are
// used without trailing blanks (at most 254 characters). hInstance receives the library's
// handle on a fresh binding. Failures are recorded in the error state only under "/debug".
LONG kx_LoadDLLProc(std::string_view dllName, std::string_view procName, kx_ProcCell& procAddress,
                    HMODULE* hInstance = nullptr);

// The bound procedure, typed; call only after kx_LoadDLLProc answered 0.
template <class Proc>
Proc kx_BoundProc(const kx_ProcCell& cell) {
  return reinterpret_cast<Proc>(cell.load());
}
