#include "platform/win/modules/module_handle.h"

#include "platform/win/modules/module_map.h"
#include "platform/win/system/last_error.h"

BOOL GetModuleHandleExA(DWORD flags, const char* moduleNameOrAddress, HMODULE* module) {
  constexpr DWORD kServed =
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT;
  if (module == nullptr || flags != kServed) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  *module = nullptr;
  win::LoadedModule found;
  if (!win::FindModuleOfAddress(reinterpret_cast<std::uintptr_t>(moduleNameOrAddress), found)) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return FALSE;
  }
  *module = reinterpret_cast<HMODULE>(found.base);
  return TRUE;
}
