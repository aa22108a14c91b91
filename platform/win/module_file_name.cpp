#include "platform/win/module_file_name.h"

#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>

#include "platform/win/last_error.h"

DWORD GetModuleFileNameA(HMODULE module, char* fileName, DWORD size) {
  if (module != nullptr) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return 0;
  }
  char path[PATH_MAX];
  ssize_t n = ::readlink("/proc/self/exe", path, sizeof path);
  if (n < 0 || n >= static_cast<ssize_t>(sizeof path)) {
    SetLastErrorFromErrno(n < 0 ? errno : ENAMETOOLONG);
    return 0;
  }
  if (fileName == nullptr || size == 0) {
    SetLastError(122);  // ERROR_INSUFFICIENT_BUFFER
    return 0;
  }
  auto length = static_cast<DWORD>(n);
  if (length >= size) {
    std::memcpy(fileName, path, size - 1);
    fileName[size - 1] = '\0';
    SetLastError(122);
    return size;
  }
  std::memcpy(fileName, path, length);
  fileName[length] = '\0';
  return length;
}
