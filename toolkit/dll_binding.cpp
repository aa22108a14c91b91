#include "toolkit/dll_binding.h"

#include <string>

#include "toolkit/clip.h"
#include "toolkit/error_state.h"
#include "toolkit/tracing.h"

namespace {

constexpr size_t kNameLimit = 254;

std::string ClippedName(std::string_view name) { return std::string(Clip(name).substr(0, kNameLimit)); }

void RecordFailure(const std::string& text) { kx_ErrorSet(KX_ERR_LOADDLLPROC, text + " " + kx_WinError()); }

}  // namespace

LONG kx_LoadDLLProc(std::string_view dllName, std::string_view procName, kx_ProcCell& procAddress,
                    HMODULE* hInstance) {
  kx_ErrorReset("kx_LoadDLLProc");
  std::uintptr_t cell = procAddress.load();
  if (cell == KX_CELL_FAILED) return 1;
  if (cell != KX_CELL_UNTRIED) return 0;

  std::string dll = ClippedName(dllName);
  std::string proc = ClippedName(procName);
  bool tracing = kx_Tracing();
  HMODULE module = LoadLibraryA(dll.c_str());
  if (module == nullptr) {
    if (tracing) RecordFailure("kx_LoadDLLProc error, LoadLibrary failed DLL=" + dll);
    procAddress.store(KX_CELL_FAILED);
    return 1;
  }
  FARPROC address = GetProcAddress(module, proc.c_str());
  if (address != nullptr) {
    // The library stays loaded for the life of the process.
    procAddress.store(reinterpret_cast<std::uintptr_t>(address));
    if (hInstance) *hInstance = module;
    return 0;
  }
  if (tracing) RecordFailure("kx_LoadDLLProc error, GetProcAddress failed Proc=" + proc + " DLL=" + dll);
  if (!FreeLibrary(module) && tracing) RecordFailure("kx_LoadDLLProc error, FreeLibrary failed DLL=" + dll);
  procAddress.store(KX_CELL_FAILED);
  return 1;
}
