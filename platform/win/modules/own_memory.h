#pragma once
// Reading the process's own memory through the kernel: an address that is not mapped gives a
// failure instead of a fault. Plain system calls only, so it may run in a signal handler.
#include <cstddef>
#include <cstdint>

namespace win {

// Copies `length` bytes from `address` into `into`; false unless every one could be read.
bool ReadOwnMemory(std::uintptr_t address, void* into, std::size_t length);

// Copies up to `limit` bytes of a NUL-ended text from `address` while they are readable,
// stopping at the NUL; gives how many came (a bad address gives none), never a fault.
std::size_t ReadOwnText(std::uintptr_t address, char* into, std::size_t limit);

}  // namespace win
