#include "platform/win/modules/virtual_query.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

#include "platform/win/modules/module_handle.h"
#include "platform/win/modules/module_map.h"
#include "platform/win/system/last_error.h"

namespace {

struct Mapping {
  std::uintptr_t start = 0, end = 0;
  char permissions[4] = {};
  bool fileBacked = false;
};

// Reads /proc/self/maps one line at a time through a fixed buffer: no allocation, no stdio.
class MapsReader {
 public:
  MapsReader() : fd_(::open("/proc/self/maps", O_RDONLY | O_CLOEXEC)) {}
  ~MapsReader() {
    if (fd_ >= 0) ::close(fd_);
  }
  bool Opened() const { return fd_ >= 0; }

  bool Next(Mapping& mapping) {
    char line[512];
    std::size_t length = 0;
    for (;;) {
      if (position_ == filled_) {
        ssize_t n;
        do n = ::read(fd_, buffer_, sizeof buffer_);
        while (n < 0 && errno == EINTR);
        if (n <= 0) return length > 0 && Parse(line, length, mapping);
        position_ = 0;
        filled_ = static_cast<std::size_t>(n);
      }
      char c = buffer_[position_++];
      if (c == '\n') return Parse(line, length, mapping);
      if (length < sizeof line) line[length++] = c;
    }
  }

 private:
  static std::uintptr_t Hex(const char*& p, const char* end) {
    std::uintptr_t value = 0;
    for (; p < end; ++p) {
      char c = *p;
      int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
      if (digit < 0) break;
      value = value << 4 | static_cast<std::uintptr_t>(digit);
    }
    return value;
  }

  // "start-end perms offset dev inode  path"
  static bool Parse(const char* line, std::size_t length, Mapping& mapping) {
    const char* p = line;
    const char* end = line + length;
    mapping.start = Hex(p, end);
    if (p == end || *p++ != '-') return false;
    mapping.end = Hex(p, end);
    if (end - p < 5 || *p++ != ' ') return false;
    for (char& flag : mapping.permissions) flag = *p++;
    int field = 0;  // the path is the sixth field
    for (bool inBlank = false; p < end; ++p) {
      bool blank = *p == ' ';
      if (inBlank && !blank) ++field;
      inBlank = blank;
      if (field == 4) break;
    }
    mapping.fileBacked = p < end && *p == '/';
    return true;
  }

  int fd_;
  char buffer_[4096];
  std::size_t position_ = 0, filled_ = 0;
};

DWORD ProtectOf(const char (&permissions)[4]) {
  bool read = permissions[0] == 'r', write = permissions[1] == 'w', exec = permissions[2] == 'x';
  bool priv = permissions[3] == 'p';
  if (exec) return write ? (priv ? PAGE_EXECUTE_WRITECOPY : PAGE_EXECUTE_READWRITE)
                         : (read ? PAGE_EXECUTE_READ : PAGE_EXECUTE);
  if (write) return priv ? PAGE_WRITECOPY : PAGE_READWRITE;
  return read ? PAGE_READONLY : PAGE_NOACCESS;
}

}  // namespace

std::size_t VirtualQuery(const void* address, MEMORY_BASIC_INFORMATION* info, std::size_t length) {
  if (info == nullptr || length < sizeof *info) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  MapsReader maps;
  if (!maps.Opened()) {
    SetLastErrorFromErrno(errno);
    return 0;
  }
  auto wanted = reinterpret_cast<std::uintptr_t>(address);
  std::uintptr_t previousEnd = 0;
  Mapping mapping;
  while (maps.Next(mapping)) {
    if (wanted < mapping.start) {
      // A gap between mappings: free address space, as the designed platform reports it.
      *info = {reinterpret_cast<void*>(previousEnd), nullptr, 0, mapping.start - previousEnd,
               MEM_FREE, PAGE_NOACCESS, 0};
      return sizeof *info;
    }
    if (wanted < mapping.end) {
      win::LoadedModule module;
      bool image = mapping.fileBacked && win::FindModuleOfAddress(wanted, module);
      DWORD protect = ProtectOf(mapping.permissions);
      *info = {reinterpret_cast<void*>(mapping.start),
               reinterpret_cast<void*>(image ? module.base : mapping.start),
               protect,
               mapping.end - mapping.start,
               MEM_COMMIT,
               protect,
               image ? MEM_IMAGE : mapping.fileBacked ? MEM_MAPPED : MEM_PRIVATE};
      return sizeof *info;
    }
    previousEnd = mapping.end;
  }
  SetLastError(ERROR_INVALID_PARAMETER);
  return 0;
}
