#include "platform/win/system/last_error.h"

#include <cerrno>

namespace {
thread_local DWORD tLastError = 0;
}

DWORD GetLastError() { return tLastError; }

void SetLastError(DWORD code) { tLastError = code; }

DWORD ErrorCodeFromErrno(int err) {
  switch (err) {
    case 0: return 0;
    case ENOENT: return 2;        // ERROR_FILE_NOT_FOUND
    case ENOTDIR: return 3;       // ERROR_PATH_NOT_FOUND
    case EMFILE: return 4;        // ERROR_TOO_MANY_OPEN_FILES
    case EACCES:
    case EPERM:
    case EISDIR: return 5;        // ERROR_ACCESS_DENIED
    case EBADF: return 6;         // ERROR_INVALID_HANDLE
    case ENOMEM: return 8;        // ERROR_NOT_ENOUGH_MEMORY
    case EROFS: return 19;        // ERROR_WRITE_PROTECT
    case EEXIST: return 80;       // ERROR_FILE_EXISTS
    case EINVAL: return 87;       // ERROR_INVALID_PARAMETER
    case EPIPE: return 109;       // ERROR_BROKEN_PIPE
    case ENOSPC: return 112;      // ERROR_DISK_FULL
    case ENOSYS: return 120;      // ERROR_CALL_NOT_IMPLEMENTED
    case EBUSY: return 170;       // ERROR_BUSY
    case ENAMETOOLONG: return 206;  // ERROR_FILENAME_EXCED_RANGE
    default: return 0x00010000u + static_cast<DWORD>(err);
  }
}

DWORD SetLastErrorFromErrno(int err) {
  DWORD code = ErrorCodeFromErrno(err);
  SetLastError(code);
  return code;
}
