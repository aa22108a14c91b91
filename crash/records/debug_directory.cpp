#include "crash/records/debug_directory.h"

#include <cstring>

namespace crash {
namespace {

constexpr unsigned kMaxSections = 4096;
constexpr std::size_t kSectionHeaderSize = 64;
constexpr std::size_t kDirectoryEntrySize = 28;
constexpr const char* kRecordsSection = ".qvrecs";
constexpr const char* kInlinedCallsSection = ".qvcalls";

struct Sections {
  std::uint64_t table = 0;
  unsigned count = 0;
  std::uint64_t namesOffset = 0, namesSize = 0;
};

bool ReadSections(const RecordFile& file, Sections& sections) {
  unsigned char elf[64];
  if (!file.ReadExactly(0, elf, sizeof elf) || !IsElf64Header(elf)) return false;
  sections.table = ReadU64(elf + 0x28);
  unsigned entrySize = ReadU16(elf + 0x3A), namesIndex = ReadU16(elf + 0x3E);
  sections.count = ReadU16(elf + 0x3C);
  if (entrySize != kSectionHeaderSize || sections.count > kMaxSections || namesIndex >= sections.count) return false;
  unsigned char header[kSectionHeaderSize];
  if (!file.ReadExactly(sections.table + namesIndex * kSectionHeaderSize, header, sizeof header)) return false;
  sections.namesOffset = ReadU64(header + 0x18);
  sections.namesSize = ReadU64(header + 0x20);
  return true;
}

// Section i's header and its name (cut at 8 characters; "" when it has none).
bool ReadSection(const RecordFile& file, const Sections& sections, unsigned i,
                 unsigned char (&header)[kSectionHeaderSize], char (&name)[9]) {
  if (!file.ReadExactly(sections.table + i * kSectionHeaderSize, header, sizeof header)) return false;
  std::uint32_t nameAt = ReadU32(header);
  std::memset(name, 0, sizeof name);
  if (nameAt < sections.namesSize) {
    long n = file.ReadAt(sections.namesOffset + nameAt, name, 8);
    name[n < 0 ? 0 : n] = '\0';
  }
  return true;
}

// Where the records' own section lies now: tools that rewrite the file (strip, objcopy) move
// it, and cannot know that the entry's offset should move with it.
void FollowRecordsSection(const RecordFile& file, const Sections& sections, DebugDirectory& found) {
  for (unsigned i = 1; i < sections.count; ++i) {
    unsigned char header[kSectionHeaderSize];
    char name[9];
    if (!ReadSection(file, sections, i, header, name)) return;
    if (std::strcmp(name, kRecordsSection) != 0) continue;
    std::uint64_t offset = ReadU64(header + 0x18), size = ReadU64(header + 0x20);
    if (size == found.size && offset <= 0xFFFFFFFFu) found.offset = static_cast<std::uint32_t>(offset);
    return;
  }
}

}  // namespace

bool FindDebugDirectory(const RecordFile& file, DebugDirectory& found, DirectorySearchLog* log) {
  Sections sections;
  if (!ReadSections(file, sections)) return false;
  if (log) log->SectionCount(sections.count);
  // Section 0 is the format's empty placeholder, not a section.
  for (unsigned i = 1; i < sections.count; ++i) {
    unsigned char header[kSectionHeaderSize];
    char name[9];
    if (!ReadSection(file, sections, i, header, name)) return false;
    if (log) log->SectionName(name);
    if (name[0] == '\0') return false;
    if (std::strcmp(name, ".qvdebug") != 0 && std::strcmp(name, ".rdata") != 0) continue;
    unsigned char entry[kDirectoryEntrySize];
    if (file.ReadExactly(ReadU64(header + 0x18), entry, sizeof entry) && std::memcmp(entry + 12, "QVDB", 4) == 0) {
      found.size = ReadU32(entry + 16);
      found.offset = ReadU32(entry + 24);
      FollowRecordsSection(file, sections, found);
      return true;
    }
    if (log) log->SignatureNotFound();
  }
  return false;
}

bool FindInlinedCallSection(const RecordFile& file, std::uint64_t& offset, std::uint64_t& size) {
  Sections sections;
  if (!ReadSections(file, sections)) return false;
  for (unsigned i = 1; i < sections.count; ++i) {
    unsigned char header[kSectionHeaderSize];
    char name[9];
    if (!ReadSection(file, sections, i, header, name)) return false;
    if (std::strcmp(name, kInlinedCallsSection) != 0) continue;
    offset = ReadU64(header + 0x18);
    size = ReadU64(header + 0x20);
    return true;
  }
  return false;
}

}  // namespace crash
