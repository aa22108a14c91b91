#include "platform/win/system/windows_directory.h"

#include <cstring>

UINT GetWindowsDirectoryA(char* buffer, UINT size) {
  constexpr char kSystemFolder[] = "/";
  constexpr UINT kLength = sizeof kSystemFolder - 1;
  if (buffer == nullptr || size <= kLength) return kLength + 1;
  std::memcpy(buffer, kSystemFolder, kLength + 1);
  return kLength;
}
