#include "platform/win/modules/own_memory.h"

#include <sys/uio.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

namespace win {

bool ReadOwnMemory(std::uintptr_t address, void* into, std::size_t length) {
  if (length == 0) return true;
  iovec local{into, length};
  iovec remote{reinterpret_cast<void*>(address), length};
  return ::process_vm_readv(::getpid(), &local, 1, &remote, 1, 0) == static_cast<ssize_t>(length);
}

std::size_t ReadOwnText(std::uintptr_t address, char* into, std::size_t limit) {
  // Page piece by page piece: an unmapped page ends the text where it starts.
  std::size_t done = 0;
  while (done < limit) {
    const std::size_t pageLeft = 4096 - ((address + done) & 4095);
    const std::size_t chunk = std::min(limit - done, pageLeft);
    iovec local{into + done, chunk};
    iovec remote{reinterpret_cast<void*>(address + done), chunk};
    const ssize_t n = ::process_vm_readv(::getpid(), &local, 1, &remote, 1, 0);
    if (n <= 0) break;
    const void* nul = std::memchr(into + done, '\0', static_cast<std::size_t>(n));
    if (nul != nullptr) return static_cast<std::size_t>(static_cast<const char*>(nul) - into);
    done += static_cast<std::size_t>(n);
  }
  return done;
}

}  // namespace win
