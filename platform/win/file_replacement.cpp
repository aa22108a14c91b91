#include "platform/win/file_replacement.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>

#include "platform/win/last_error.h"
#include "platform/win/unique_fd.h"
#include "platform/win/write_all.h"

namespace win {
namespace {

bool CopyFileTo(const std::string& path, int fd) {
  UniqueFd in(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (in.get() < 0) return false;
  char buffer[1 << 16];
  for (;;) {
    ssize_t got = ::read(in.get(), buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return false;
    if (got == 0) return true;
    if (!WriteAll(fd, std::string_view(buffer, static_cast<std::size_t>(got)))) return false;
  }
}

// The file a rename must replace: the target of a symbolic link, so the link survives.
std::string RenameTarget(const std::string& path) {
  struct stat link {};
  if (::lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
    if (char* resolved = ::realpath(path.c_str(), nullptr)) {
      std::string target(resolved);
      std::free(resolved);
      return target;
    }
  }
  return path;
}

// A new, empty file beside target; tempPath receives its name.
int CreateTemporaryBeside(const std::string& target, std::string& tempPath) {
  static std::atomic<unsigned> counter{0};
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    tempPath = target + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
    fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) break;
  }
  return fd;
}

}  // namespace

Replacement ReplaceFileContents(const std::string& path, std::string_view text, bool keepOld) {
  const std::string target = RenameTarget(path);
  struct stat existing {};
  const bool exists = ::stat(target.c_str(), &existing) == 0;
  if (exists && S_ISDIR(existing.st_mode)) {
    SetLastErrorFromErrno(EISDIR);
    return Replacement::CannotCreate;
  }
  std::string tempPath;
  UniqueFd temp(CreateTemporaryBeside(target, tempPath));
  if (temp.get() < 0) {
    SetLastErrorFromErrno(errno);
    return Replacement::CannotCreate;
  }
  auto fail = [&](Replacement step) {
    SetLastErrorFromErrno(errno);
    ::unlink(tempPath.c_str());
    return step;
  };
  if (exists && ::fchmod(temp.get(), existing.st_mode & 07777) != 0) return fail(Replacement::CannotCreate);
  if (keepOld && exists && !CopyFileTo(target, temp.get())) return fail(Replacement::CannotCopyOld);
  if (!WriteAll(temp.get(), text) || ::fsync(temp.get()) != 0) {
    int err = errno;
    temp.Close();
    errno = err;
    return fail(Replacement::CannotWrite);
  }
  if (!temp.Close() || ::rename(tempPath.c_str(), target.c_str()) != 0) return fail(Replacement::CannotWrite);
  return Replacement::Done;
}

}  // namespace win
