#include "crash/debug_directory.h"

#include <cstring>

namespace crash {
namespace {

constexpr unsigned kMaxSections = 4096;
constexpr std::size_t kSectionHeaderSize = 64;
constexpr std::size_t kDirectoryEntrySize = 28;

std::uint64_t ReadU64(const unsigned char* p) { return ReadU32(p) | std::uint64_t{ReadU32(p + 4)} << 32; }

}  // namespace

bool FindDebugDirectory(const RecordFile& file, DebugDirectory& found, DirectorySearchLog* log) {
  unsigned char elf[64];
  if (!file.ReadExactly(0, elf, sizeof elf) || std::memcmp(elf, "\x7f" "ELF", 4) != 0 || elf[4] != 2 ||
      elf[5] != 1)
    return false;
  std::uint64_t tableOffset = ReadU64(elf + 0x28);
  unsigned entrySize = ReadU16(elf + 0x3A), count = ReadU16(elf + 0x3C), namesIndex = ReadU16(elf + 0x3E);
  if (entrySize != kSectionHeaderSize || count > kMaxSections || namesIndex >= count) return false;
  if (log) log->SectionCount(count);

  unsigned char header[kSectionHeaderSize];
  if (!file.ReadExactly(tableOffset + namesIndex * kSectionHeaderSize, header, sizeof header)) return false;
  std::uint64_t namesOffset = ReadU64(header + 0x18), namesSize = ReadU64(header + 0x20);

  // Section 0 is the format's empty placeholder, not a section.
  for (unsigned i = 1; i < count; ++i) {
    if (!file.ReadExactly(tableOffset + i * kSectionHeaderSize, header, sizeof header)) return false;
    std::uint32_t nameAt = ReadU32(header);
    char name[9] = {};
    if (nameAt < namesSize) {
      long n = file.ReadAt(namesOffset + nameAt, name, 8);
      name[n < 0 ? 0 : n] = '\0';
    }
    if (log) log->SectionName(name);
    if (name[0] == '\0') return false;
    if (std::strcmp(name, ".qvdebug") != 0 && std::strcmp(name, ".rdata") != 0) continue;
    unsigned char entry[kDirectoryEntrySize];
    if (file.ReadExactly(ReadU64(header + 0x18), entry, sizeof entry) && std::memcmp(entry + 12, "QVDB", 4) == 0) {
      found.size = ReadU32(entry + 16);
      found.offset = ReadU32(entry + 24);
      return true;
    }
    if (log) log->SignatureNotFound();
  }
  return false;
}

}  // namespace crash
