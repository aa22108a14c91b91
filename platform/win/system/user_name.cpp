#include "platform/win/system/user_name.h"

#include <pwd.h>
#include <unistd.h>

#include <cstring>
#include <vector>

DWORD WNetGetUserA(const char* /*name*/, char* userName, DWORD* length) {
  if (userName == nullptr || length == nullptr) return 87;  // ERROR_INVALID_PARAMETER
  long suggested = sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> work(suggested > 0 ? static_cast<size_t>(suggested) : 16384);
  passwd entry{};
  passwd* found = nullptr;
  if (getpwuid_r(geteuid(), &entry, work.data(), work.size(), &found) != 0 || found == nullptr ||
      found->pw_name == nullptr) {
    return ERROR_NO_NETWORK;
  }
  size_t needed = std::strlen(found->pw_name) + 1;
  if (*length < needed) {
    *length = static_cast<DWORD>(needed);
    return 234;  // ERROR_MORE_DATA
  }
  std::memcpy(userName, found->pw_name, needed);
  return NO_ERROR;
}
