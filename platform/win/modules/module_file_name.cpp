#include "platform/win/modules/module_file_name.h"

#include <cstring>

#include "platform/win/modules/module_map.h"
#include "platform/win/system/last_error.h"

DWORD GetModuleFileNameA(HMODULE module, char* fileName, DWORD size) {
  win::LoadedModule found;
  bool known = module == nullptr
                   ? win::ProgramModule(found)
                   : win::FindModuleOfHandle(reinterpret_cast<std::uintptr_t>(module), found);
  if (!known || found.path[0] == '\0') {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return 0;
  }
  if (fileName == nullptr || size == 0) {
    SetLastError(122);  // ERROR_INSUFFICIENT_BUFFER
    return 0;
  }
  auto length = static_cast<DWORD>(std::strlen(found.path));
  if (length >= size) {
    std::memcpy(fileName, found.path, size - 1);
    fileName[size - 1] = '\0';
    SetLastError(122);
    return size;
  }
  std::memcpy(fileName, found.path, length + 1);
  return length;
}
