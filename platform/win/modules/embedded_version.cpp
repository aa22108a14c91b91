#include "platform/win/modules/embedded_version.h"

#include <elf.h>
#include <fcntl.h>
#include <link.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

#include "platform/win/modules/elf_notes.h"

namespace {

using win::FindNote;

constexpr char kOwner[] = "Boxwright";
constexpr std::uint32_t kVersionNoteType = 1;

// Written at build time: BOXWRIGHT_VERSION comes from the project's version.
#define BOXWRIGHT_VERSION_STRINGS                                            \
  "FileVersion\0" BOXWRIGHT_VERSION "\0ProductVersion\0" BOXWRIGHT_VERSION \
  "\0ProductName\0Boxwright\0FileDescription\0Boxwright cab librarian"

struct VersionNote {
  std::uint32_t nameSize;
  std::uint32_t descSize;
  std::uint32_t type;
  char name[(sizeof kOwner + 3) / 4 * 4];
  char desc[(sizeof BOXWRIGHT_VERSION_STRINGS + 3) / 4 * 4];
};

// The section must hold exactly one note as the note format lays it out: a sanitizer's guard
// bytes after it would read as a damaged note to anyone walking the notes. GCC leaves variables
// of a named section unguarded; clang needs telling.
#if defined(__clang__)
#define BOXWRIGHT_UNGUARDED __attribute__((no_sanitize("address")))
#else
#define BOXWRIGHT_UNGUARDED
#endif

[[maybe_unused]] __attribute__((section(".note.boxwright.version"), used, aligned(4)))
BOXWRIGHT_UNGUARDED const VersionNote kVersionNote = {
    sizeof kOwner, sizeof BOXWRIGHT_VERSION_STRINGS, kVersionNoteType, "Boxwright", BOXWRIGHT_VERSION_STRINGS};

// Limits for what a file may claim, so that a damaged or hostile file costs little.
constexpr std::size_t kMostSections = 4096;
constexpr std::uint64_t kLargestNoteSection = 64 * 1024;

class File {
 public:
  explicit File(const std::string& name) : fd_(::open(name.c_str(), O_RDONLY | O_CLOEXEC)) {
    struct stat info {};
    if (fd_ >= 0 && ::fstat(fd_, &info) == 0 && S_ISREG(info.st_mode)) size_ = static_cast<std::uint64_t>(info.st_size);
  }
  ~File() {
    if (fd_ >= 0) ::close(fd_);
  }
  File(const File&) = delete;
  File& operator=(const File&) = delete;

  // Exactly `length` bytes at `offset`, all inside the file.
  bool Read(std::uint64_t offset, void* into, std::uint64_t length) const {
    if (offset > size_ || length > size_ - offset) return false;
    auto* at = static_cast<char*>(into);
    while (length > 0) {
      ssize_t n = ::pread(fd_, at, length, static_cast<off_t>(offset));
      if (n <= 0) return false;
      at += n;
      offset += static_cast<std::uint64_t>(n);
      length -= static_cast<std::uint64_t>(n);
    }
    return true;
  }

 private:
  int fd_;
  std::uint64_t size_ = 0;
};

bool IsOwnKindOfElf(const ElfW(Ehdr) & header) {
  constexpr unsigned char kOwnClass = sizeof(void*) == 8 ? ELFCLASS64 : ELFCLASS32;
  constexpr unsigned char kOwnData =
      __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__ ? ELFDATA2LSB : ELFDATA2MSB;
  return std::memcmp(header.e_ident, ELFMAG, SELFMAG) == 0 && header.e_ident[EI_CLASS] == kOwnClass &&
         header.e_ident[EI_DATA] == kOwnData && header.e_shentsize == sizeof(ElfW(Shdr)) &&
         header.e_shnum <= kMostSections;
}

std::optional<VersionResource> VersionFromStrings(std::string_view strings) {
  VersionResource resource;
  std::vector<std::string> texts;
  while (!strings.empty()) {
    std::size_t end = strings.find('\0');
    if (end == std::string_view::npos) end = strings.size();
    texts.emplace_back(strings.substr(0, end));
    strings.remove_prefix(std::min(end + 1, strings.size()));
  }
  for (std::size_t i = 0; i + 1 < texts.size(); i += 2) resource.strings.emplace_back(texts[i], texts[i + 1]);
  if (resource.strings.empty()) return std::nullopt;
  return resource;
}

// The version note among the notes of one section.
std::optional<VersionResource> FindVersionNote(std::string_view notes, std::uint64_t align) {
  std::uint64_t at = 0, size = 0;
  const std::string_view owner(kOwner, sizeof kOwner - 1);
  if (!FindNote(win::NotesInMemory(notes.data(), notes.size()), notes.size(), align, owner, kVersionNoteType, at, size))
    return std::nullopt;
  return VersionFromStrings(notes.substr(at, size));
}

}  // namespace

namespace win {
std::optional<VersionResource> ReadEmbeddedVersion(const std::string& file) {
  File in(file);
  ElfW(Ehdr) header;
  if (!in.Read(0, &header, sizeof header) || !IsOwnKindOfElf(header)) return std::nullopt;
  std::vector<ElfW(Shdr)> sections(header.e_shnum);
  if (!in.Read(header.e_shoff, sections.data(), sections.size() * sizeof(ElfW(Shdr)))) return std::nullopt;
  for (const auto& section : sections) {
    if (section.sh_type != SHT_NOTE || section.sh_size > kLargestNoteSection) continue;
    std::string notes(section.sh_size, '\0');
    if (!in.Read(section.sh_offset, notes.data(), notes.size())) continue;
    if (auto version = FindVersionNote(notes, section.sh_addralign)) return version;
  }
  return std::nullopt;
}
}  // namespace win
