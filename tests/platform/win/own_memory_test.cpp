#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <string_view>

#include "platform/win/modules/own_memory.h"

namespace {

std::uintptr_t AddressOf(const void* p) { return reinterpret_cast<std::uintptr_t>(p); }

TEST(OwnMemory, ReadsWhatIsMappedAndFailsWithoutFaultingElsewhere) {
  const std::size_t page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
  void* mapped = ::mmap(nullptr, 2 * page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  ASSERT_NE(mapped, MAP_FAILED);
  auto* bytes = static_cast<char*>(mapped);
  std::memcpy(bytes + page - 4, "tail", 4);
  ASSERT_EQ(::munmap(bytes + page, page), 0);

  char into[8] = {};
  EXPECT_TRUE(win::ReadOwnMemory(AddressOf(bytes + page - 4), into, 4));
  EXPECT_EQ(std::string_view(into, 4), "tail");
  // A read that runs into the unmapped page is no read at all.
  EXPECT_FALSE(win::ReadOwnMemory(AddressOf(bytes + page - 4), into, 8));
  EXPECT_FALSE(win::ReadOwnMemory(AddressOf(bytes + page), into, 1));
  EXPECT_FALSE(win::ReadOwnMemory(0, into, 1));
  EXPECT_TRUE(win::ReadOwnMemory(0, into, 0));
  ::munmap(bytes, page);
}

}  // namespace
