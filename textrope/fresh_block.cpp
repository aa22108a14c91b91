// Built as C++23 for std::string::resize_and_overwrite, the one way to size a string without
// filling it.
#include "textrope/fresh_block.h"

#include <sys/mman.h>

#include <cstdint>
#include <cstring>

namespace textrope {
namespace {

constexpr std::uintptr_t kHugePage = std::uintptr_t{2} << 20;
// Below this a block holds few huge pages, and the heap usually has touched pages to give.
constexpr std::size_t kHugePagesFrom = std::size_t{4} << 20;

// Advice only: where the kernel has no huge pages to give, nothing changes.
void AdviseHugePages(char* block, std::size_t n) {
  if (n < kHugePagesFrom) return;
  const auto from = (reinterpret_cast<std::uintptr_t>(block) + kHugePage - 1) & ~(kHugePage - 1);
  const auto to = (reinterpret_cast<std::uintptr_t>(block) + n) & ~(kHugePage - 1);
  if (to > from) ::madvise(reinterpret_cast<void*>(from), to - from, MADV_HUGEPAGE);
}

}  // namespace

std::string FreshBlock(std::size_t n) {
  std::string block;
  // The size handed to the operation may be the grown capacity (libstdc++ 12), so the
  // length answered is the one asked for.
  block.resize_and_overwrite(n, [n](char* bytes, std::size_t room) {
    AdviseHugePages(bytes, room);
    return n;
  });
  return block;
}

void ResizeForOverwrite(std::string& s, std::size_t n) {
  if (n > s.capacity()) {
    std::string grown = FreshBlock(n);
    std::memcpy(grown.data(), s.data(), s.size());
    s.swap(grown);
    return;
  }
  s.resize_and_overwrite(n, [n](char*, std::size_t) { return n; });
}

}  // namespace textrope
