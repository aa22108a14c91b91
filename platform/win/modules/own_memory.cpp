#include "platform/win/modules/own_memory.h"

#include <sys/uio.h>
#include <unistd.h>

namespace win {

bool ReadOwnMemory(std::uintptr_t address, void* into, std::size_t length) {
  if (length == 0) return true;
  iovec local{into, length};
  iovec remote{reinterpret_cast<void*>(address), length};
  return ::process_vm_readv(::getpid(), &local, 1, &remote, 1, 0) == static_cast<ssize_t>(length);
}

}  // namespace win
