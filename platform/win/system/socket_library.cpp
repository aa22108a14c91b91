#include "platform/win/system/socket_library.h"

#include <unistd.h>

#include <cerrno>

#include "platform/win/system/last_error.h"

namespace {

thread_local int tSocketError = 0;

int GetHostName(char* name, int length) {
  if (name == nullptr || length <= 0) {
    tSocketError = 10014;  // WSAEFAULT
    return SOCKET_ERROR;
  }
  if (::gethostname(name, static_cast<size_t>(length)) != 0) {
    tSocketError = static_cast<int>(ErrorCodeFromErrno(errno));
    return SOCKET_ERROR;
  }
  name[length - 1] = '\0';  // a name cut to the buffer is not terminated by the system
  return 0;
}

int WSAGetLastError() { return tSocketError; }

}  // namespace

namespace win {
LibraryExports SocketLibraryExports() {
  static const LibraryExport kExports[] = {{"gethostname", ExportOf(&GetHostName)},
                                           {"WSAGetLastError", ExportOf(&WSAGetLastError)}};
  return kExports;
}
}  // namespace win
