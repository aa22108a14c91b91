#include "crash/records/file_build_id.h"

#include <cstring>

namespace crash {
namespace {

constexpr unsigned kMostSegments = 4096;
constexpr std::size_t kSegmentHeaderSize = 56;
constexpr std::uint32_t kNoteSegment = 4;  // PT_NOTE

}  // namespace

bool ReadFileBuildId(const RecordFile& file, win::BuildId& id) {
  unsigned char elf[64];
  if (!file.ReadExactly(0, elf, sizeof elf) || !IsElf64Header(elf)) return false;
  const std::uint64_t table = ReadU64(elf + 0x20);
  const unsigned entrySize = ReadU16(elf + 0x36), count = ReadU16(elf + 0x38);
  if (entrySize != kSegmentHeaderSize || count > kMostSegments) return false;
  for (unsigned i = 0; i < count; ++i) {
    unsigned char segment[kSegmentHeaderSize];
    if (!file.ReadExactly(table + std::uint64_t{i} * kSegmentHeaderSize, segment, sizeof segment)) return false;
    if (ReadU32(segment) != kNoteSegment) continue;
    const std::uint64_t offset = ReadU64(segment + 0x08), size = ReadU64(segment + 0x20);
    const std::uint64_t align = ReadU64(segment + 0x30);
    auto read = [&file, offset](std::uint64_t at, void* into, std::size_t n) {
      return file.ReadExactly(offset + at, into, n);
    };
    if (win::FindBuildId(read, size, align, id)) return true;
  }
  return false;
}

}  // namespace crash
