#pragma once
// ELF notes (owner, type, description), walked through a reader of the caller's: the bytes of
// a note segment in memory, or a stretch of a file read with pread. Nothing is allocated and
// nothing outside the notes' `size` bytes is asked for, so a damaged file costs little and a
// signal handler may walk them.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace win {

inline constexpr std::size_t kMostBuildId = 64;

// A build id: the linker's hash of a program file, which tells whether a file is the image
// that was loaded.
struct BuildId {
  std::size_t size = 0;
  unsigned char bytes[kMostBuildId] = {};
  bool operator==(const BuildId& other) const {
    return size == other.size && std::memcmp(bytes, other.bytes, size) == 0;
  }
};

// The reader of notes that lie in memory (a loaded segment, a section read whole): it reads
// nothing outside their `size` bytes.
class NotesInMemory {
 public:
  NotesInMemory(const void* notes, std::uint64_t size) : notes_(static_cast<const unsigned char*>(notes)), size_(size) {}
  bool operator()(std::uint64_t at, void* into, std::size_t count) const {
    if (at > size_ || count > size_ - at) return false;
    std::memcpy(into, notes_ + at, count);
    return true;
  }

 private:
  const unsigned char* notes_;
  std::uint64_t size_;
};

// Finds the note of `owner` (without its NUL) and `type` among `size` bytes of notes, padded
// to `align` (4, or 8 in segments aligned so). `read(offset, into, count)` reads notes bytes
// and answers whether it could. Gives the description's offset and size within the notes.
template <class Reader>
bool FindNote(const Reader& read, std::uint64_t size, std::uint64_t align, std::string_view owner,
              std::uint32_t type, std::uint64_t& descAt, std::uint64_t& descSize) {
  if (align != 8) align = 4;
  auto padded = [align](std::uint64_t n) { return (n + align - 1) / align * align; };
  constexpr std::size_t kHeader = 12;  // name size, description size, type
  constexpr std::size_t kMostOwner = 16;
  for (std::uint64_t at = 0; size >= kHeader && at <= size - kHeader;) {
    std::uint32_t header[3];
    if (!read(at, header, kHeader)) return false;
    const std::uint64_t nameAt = at + kHeader;
    const std::uint64_t descStart = nameAt + padded(header[0]);
    const std::uint64_t next = descStart + padded(header[1]);
    if (descStart > size || next > size) return false;
    char name[kMostOwner];
    if (header[2] == type && header[0] == owner.size() + 1 && header[0] <= kMostOwner &&
        read(nameAt, name, header[0]) && name[owner.size()] == '\0' &&
        std::string_view(name, owner.size()) == owner) {
      descAt = descStart;
      descSize = header[1];
      return true;
    }
    at = next;
  }
  return false;
}

// The build id among the notes, when the reader finds one that fits.
template <class Reader>
bool FindBuildId(const Reader& read, std::uint64_t size, std::uint64_t align, BuildId& id) {
  constexpr std::uint32_t kBuildIdNoteType = 3;  // NT_GNU_BUILD_ID, owner "GNU"
  std::uint64_t at = 0, length = 0;
  if (!FindNote(read, size, align, "GNU", kBuildIdNoteType, at, length)) return false;
  if (length == 0 || length > kMostBuildId || !read(at, id.bytes, static_cast<std::size_t>(length))) return false;
  id.size = static_cast<std::size_t>(length);
  return true;
}

}  // namespace win
