#include "platform/win/files/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <map>
#include <mutex>

#include "platform/win/system/last_error.h"

namespace {

std::mutex gLock;
std::map<std::uintptr_t, int> gFiles;  // handle -> descriptor
std::uintptr_t gNextHandle = 0x100;

HANDLE AddFile(int fd) {
  std::lock_guard guard(gLock);
  std::uintptr_t key = gNextHandle;
  gNextHandle += 4;
  gFiles[key] = fd;
  return reinterpret_cast<HANDLE>(key);
}

// The descriptor of an open handle; -1 with ERROR_INVALID_HANDLE otherwise.
int DescriptorOf(HANDLE file) {
  std::lock_guard guard(gLock);
  auto it = gFiles.find(reinterpret_cast<std::uintptr_t>(file));
  if (it != gFiles.end()) return it->second;
  SetLastError(6);  // ERROR_INVALID_HANDLE
  return -1;
}

int OpenFlags(DWORD access, DWORD disposition) {
  int flags = O_CLOEXEC;
  bool reads = access & GENERIC_READ;
  bool writes = access & GENERIC_WRITE;
  flags |= reads && writes ? O_RDWR : writes ? O_WRONLY : O_RDONLY;
  switch (disposition) {
    case CREATE_NEW: return flags | O_CREAT | O_EXCL;
    case CREATE_ALWAYS: return flags | O_CREAT | O_TRUNC;
    case OPEN_EXISTING: return flags;
    case OPEN_ALWAYS: return flags | O_CREAT;
    case TRUNCATE_EXISTING: return flags | O_TRUNC;
    default: return -1;
  }
}

}  // namespace

HANDLE CreateFileA(const char* fileName, DWORD desiredAccess, DWORD /*shareMode*/, void* /*securityAttributes*/,
                   DWORD creationDisposition, DWORD /*flagsAndAttributes*/, HANDLE /*templateFile*/) {
  int flags = OpenFlags(desiredAccess, creationDisposition);
  if (fileName == nullptr || flags == -1) {
    SetLastError(87);  // ERROR_INVALID_PARAMETER
    return INVALID_HANDLE_VALUE;
  }
  int fd = ::open(fileName, flags, 0666);
  if (fd < 0) {
    SetLastErrorFromErrno(errno);
    return INVALID_HANDLE_VALUE;
  }
  struct stat info {};
  if (::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
    ::close(fd);
    SetLastError(5);  // ERROR_ACCESS_DENIED, as for a folder on the design's platform
    return INVALID_HANDLE_VALUE;
  }
  return AddFile(fd);
}

BOOL WriteFile(HANDLE file, const void* buffer, DWORD count, DWORD* written, void* /*overlapped*/) {
  if (written) *written = 0;
  int fd = DescriptorOf(file);
  if (fd < 0) return FALSE;
  ssize_t n;
  do {
    n = ::write(fd, buffer, count);
  } while (n < 0 && errno == EINTR);
  if (n < 0) {
    SetLastErrorFromErrno(errno);
    return FALSE;
  }
  if (written) *written = static_cast<DWORD>(n);
  return TRUE;
}

DWORD SetFilePointer(HANDLE file, LONG distance, LONG* distanceHigh, DWORD moveMethod) {
  int fd = DescriptorOf(file);
  if (fd < 0) return INVALID_SET_FILE_POINTER;
  int whence = moveMethod == FILE_BEGIN ? SEEK_SET : moveMethod == FILE_CURRENT ? SEEK_CUR : moveMethod == FILE_END ? SEEK_END : -1;
  if (whence == -1) {
    SetLastError(87);
    return INVALID_SET_FILE_POINTER;
  }
  off_t offset = distanceHigh ? static_cast<off_t>((static_cast<std::uint64_t>(static_cast<ULONG>(*distanceHigh)) << 32) |
                                                   static_cast<ULONG>(distance))
                              : static_cast<off_t>(distance);
  off_t at = ::lseek(fd, offset, whence);
  if (at < 0) {
    SetLastErrorFromErrno(errno);
    return INVALID_SET_FILE_POINTER;
  }
  if (distanceHigh) *distanceHigh = static_cast<LONG>(static_cast<std::uint64_t>(at) >> 32);
  SetLastError(0);  // a position whose low half is 0xFFFFFFFF is told apart by the last error
  return static_cast<DWORD>(at);
}

BOOL CloseHandle(HANDLE object) {
  int fd;
  {
    std::lock_guard guard(gLock);
    auto it = gFiles.find(reinterpret_cast<std::uintptr_t>(object));
    if (it == gFiles.end()) {
      SetLastError(6);
      return FALSE;
    }
    fd = it->second;
    gFiles.erase(it);
  }
  // The descriptor is gone even when close reports an error, so it is never closed twice.
  if (::close(fd) != 0 && errno != EINTR) {
    SetLastErrorFromErrno(errno);
    return FALSE;
  }
  return TRUE;
}

BOOL DeleteFileA(const char* fileName) {
  if (fileName == nullptr) {
    SetLastError(87);
    return FALSE;
  }
  if (::unlink(fileName) != 0) {
    SetLastErrorFromErrno(errno == EPERM ? EACCES : errno);
    return FALSE;
  }
  return TRUE;
}

BOOL SetFileAttributesA(const char* fileName, DWORD attributes) {
  struct stat info {};
  if (fileName == nullptr || ::stat(fileName, &info) != 0) {
    SetLastErrorFromErrno(fileName == nullptr ? EINVAL : errno);
    return FALSE;
  }
  mode_t mode = info.st_mode & 07777;
  mode = attributes & FILE_ATTRIBUTE_READONLY ? mode & ~mode_t{0222} : mode | S_IWUSR;
  if (mode != (info.st_mode & 07777) && ::chmod(fileName, mode) != 0) {
    SetLastErrorFromErrno(errno);
    return FALSE;
  }
  return TRUE;
}
