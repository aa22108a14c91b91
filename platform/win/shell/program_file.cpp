#include "platform/win/shell/program_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/win/files/unique_fd.h"
#include "platform/win/shell/desktop_associations.h"

namespace win {
namespace {

bool BeginsWithElfMagic(const std::string& path) {
  // Never blocks on a FIFO put in the file's place since it was looked at.
  UniqueFd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
  if (fd.get() < 0) return false;
  struct stat info = {};
  if (::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
  char magic[4] = {};
  ssize_t got = 0;
  do {
    got = ::read(fd.get(), magic, sizeof magic);
  } while (got < 0 && errno == EINTR);
  return got == static_cast<ssize_t>(sizeof magic) && std::memcmp(magic, "\x7f" "ELF", sizeof magic) == 0;
}

}  // namespace

bool IsProgramFile(const std::string& path) {
  if (!BeginsWithElfMagic(path)) return false;
  auto type = TypeOfFile(path);
  // Newer MIME databases tell position-independent programs apart under a type of their own.
  return type && (*type == "application/x-executable" || *type == "application/x-pie-executable");
}

}  // namespace win
