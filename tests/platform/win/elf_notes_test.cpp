// ELF notes walked through a reader: the note asked for is found among others, and notes that
// claim more than their bytes hold find nothing and read nothing beyond them.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "platform/win/modules/elf_notes.h"

namespace {

// A note as it lies in a file: header, owner with its NUL, description, each padded to `align`.
std::string Note(const std::string& owner, std::uint32_t type, const std::string& desc, std::size_t align = 4,
                 std::uint32_t claimedDesc = ~0u) {
  auto padded = [align](std::string text) {
    text.resize((text.size() + align - 1) / align * align, '\0');
    return text;
  };
  std::uint32_t header[3] = {static_cast<std::uint32_t>(owner.size() + 1),
                             claimedDesc == ~0u ? static_cast<std::uint32_t>(desc.size()) : claimedDesc, type};
  return std::string(reinterpret_cast<const char*>(header), sizeof header) + padded(owner + '\0') + padded(desc);
}

struct Walk {
  bool found = false;
  win::BuildId id;
  std::size_t farthest = 0;  // one past the last byte read
};

Walk FindIn(const std::string& notes, std::size_t align = 4) {
  Walk walk;
  auto read = [&](std::uint64_t at, void* into, std::size_t count) {
    if (at > notes.size() || count > notes.size() - at) return false;
    std::memcpy(into, notes.data() + at, count);
    walk.farthest = std::max<std::size_t>(walk.farthest, at + count);
    return true;
  };
  walk.found = win::FindBuildId(read, notes.size(), align, walk.id);
  return walk;
}

TEST(ElfNotes, TheBuildIdIsFoundAmongOtherNotesAndDamagedOnesFindNothing) {
  const std::string id = "0123456789abcdefghij";  // 20 bytes, as the linker's SHA-1
  struct Case {
    const char* name;
    std::string notes;
    std::size_t align;
    bool found;
  };
  const std::vector<Case> cases = {
      {"alone", Note("GNU", 3, id), 4, true},
      {"after other notes", Note("Boxwright", 1, "FileVersion") + Note("GNU", 5, "properties") + Note("GNU", 3, id), 4,
       true},
      {"in a segment aligned to 8", Note("GNU", 5, "twelve bytes", 8) + Note("GNU", 3, id, 8), 8, true},
      {"another owner's type 3", Note("GNUX", 3, id) + Note("GN", 3, id), 4, false},
      {"a description longer than the notes", Note("GNU", 3, id, 4, 4096), 4, false},
      {"a description too long for an id", Note("GNU", 3, std::string(80, 'x')), 4, false},
      {"an empty description", Note("GNU", 3, ""), 4, false},
      {"cut short", Note("GNU", 3, id).substr(0, 20), 4, false},
      {"nothing", "", 4, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Walk walk = FindIn(c.notes, c.align);
    EXPECT_EQ(walk.found, c.found);
    EXPECT_LE(walk.farthest, c.notes.size());
    if (c.found) {
      EXPECT_EQ(std::string(reinterpret_cast<const char*>(walk.id.bytes), walk.id.size), id);
    }
  }
}

}  // namespace
