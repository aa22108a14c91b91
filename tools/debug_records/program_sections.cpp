#include "program_sections.h"

#include <fcntl.h>
#include <gelf.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <stdexcept>

#include "record_image.h"

extern char** environ;

namespace {

constexpr const char* kRecordsSection = ".qvrecs";
constexpr const char* kDirectorySection = ".qvdebug";
constexpr const char* kInlinedCallsSection = ".qvcalls";

struct TempFile {
  std::string path;
  TempFile(const std::string& near, const char* suffix, const std::vector<std::uint8_t>& bytes)
      : path(near + suffix) {
    FILE* file = std::fopen(path.c_str(), "wb");
    bool written = file != nullptr && std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (file != nullptr && std::fclose(file) != 0) written = false;
    if (!written) throw std::runtime_error("cannot write " + path);
  }
  ~TempFile() { std::remove(path.c_str()); }
};

void Run(const std::vector<std::string>& arguments) {
  std::vector<char*> argv;
  for (const auto& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  pid_t child;
  if (posix_spawnp(&child, argv[0], nullptr, nullptr, argv.data(), environ) != 0)
    throw std::runtime_error("cannot start " + arguments[0]);
  int status = 0;
  while (waitpid(child, &status, 0) < 0) {
  }
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) throw std::runtime_error(arguments[0] + " failed");
}

struct SectionPlace {
  std::uint64_t offset = 0, size = 0;
};

// File offsets of the two sections, read from the section table objcopy wrote.
void FindSections(int fd, SectionPlace& records, SectionPlace& directory) {
  elf_version(EV_CURRENT);
  Elf* elf = elf_begin(fd, ELF_C_READ, nullptr);
  if (elf == nullptr) throw std::runtime_error("not an ELF file");
  std::size_t names = 0;
  bool ok = elf_getshdrstrndx(elf, &names) == 0;
  for (Elf_Scn* section = nullptr; ok && (section = elf_nextscn(elf, section)) != nullptr;) {
    GElf_Shdr header;
    if (gelf_getshdr(section, &header) == nullptr) continue;
    const char* name = elf_strptr(elf, names, header.sh_name);
    if (name == nullptr) continue;
    if (std::strcmp(name, kRecordsSection) == 0) records = {header.sh_offset, header.sh_size};
    if (std::strcmp(name, kDirectorySection) == 0) directory = {header.sh_offset, header.sh_size};
  }
  elf_end(elf);
  if (records.size == 0 || directory.size < 28) throw std::runtime_error("the record sections were not added");
}

}  // namespace

void PlaceRecords(const std::string& programPath, const std::string& objcopy,
                  const std::vector<std::uint8_t>& records, const std::vector<std::uint8_t>& inlinedCalls) {
  TempFile recordFile(programPath, ".qvrecs.tmp", records);
  TempFile callFile(programPath, ".qvcalls.tmp", inlinedCalls);
  // The entry's offset is known only once objcopy has laid out the file; it is patched below.
  TempFile directoryFile(programPath, ".qvdebug.tmp", BuildDebugDirectory(0, 0));
  Run({objcopy, std::string("--remove-section=") + kRecordsSection,
       std::string("--remove-section=") + kDirectorySection,
       std::string("--remove-section=") + kInlinedCallsSection,
       std::string("--add-section=") + kRecordsSection + "=" + recordFile.path,
       std::string("--add-section=") + kInlinedCallsSection + "=" + callFile.path,
       std::string("--add-section=") + kDirectorySection + "=" + directoryFile.path, programPath});

  int fd = ::open(programPath.c_str(), O_RDWR | O_CLOEXEC);
  if (fd < 0) throw std::runtime_error("cannot open " + programPath);
  SectionPlace recordPlace, directoryPlace;
  try {
    FindSections(fd, recordPlace, directoryPlace);
  } catch (...) {
    ::close(fd);
    throw;
  }
  if (recordPlace.offset > 0xFFFFFFFFu) {
    ::close(fd);
    throw std::runtime_error("program file too large for 32-bit record offsets");
  }
  auto entry = BuildDebugDirectory(static_cast<std::uint32_t>(recordPlace.offset),
                                   static_cast<std::uint32_t>(records.size()));
  bool written = ::pwrite(fd, entry.data(), entry.size(), static_cast<off_t>(directoryPlace.offset)) ==
                 static_cast<ssize_t>(entry.size());
  if (::close(fd) != 0 || !written) throw std::runtime_error("cannot write the debug directory of " + programPath);
}
