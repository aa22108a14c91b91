#include "platform/win/files/file_replacement.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/win/files/file_kind.h"
#include "platform/win/files/leftover_name.h"
#include "platform/win/files/write_all.h"
#include "platform/win/system/last_error.h"

namespace win {
namespace {

bool CopyFileTo(const std::string& path, int fd) {
  UniqueFd in(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
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

// The file a rename must replace: the target of a symbolic link, so the link survives. Empty
// with errno set for a link that leads nowhere.
std::string RenameTarget(const std::string& path) {
  struct stat link {};
  if (::lstat(path.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) return path;
  char* resolved = ::realpath(path.c_str(), nullptr);
  if (resolved == nullptr) return {};
  std::string target(resolved);
  std::free(resolved);
  return target;
}

std::string FolderOf(const std::string& path) {
  std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Removes the named new files that replacements of target by processes now gone left behind.
// A living process's file is its replacement under way and stays.
void RemoveLeftovers(const std::string& folder, const std::string& target) {
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return;
  const std::string name = NameOf(target);
  while (const dirent* entry = ::readdir(dir)) {
    pid_t owner = LeftoverOwner(entry->d_name, name);
    if (owner <= 0 || owner == ::getpid()) continue;
    if (::kill(owner, 0) == 0 || errno != ESRCH) continue;
    struct stat info {};
    if (::fstatat(::dirfd(dir), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(info.st_mode)) {
      ::unlinkat(::dirfd(dir), entry->d_name, 0);
    }
  }
  ::closedir(dir);
}

// File systems without unnamed files answer one of these.
bool NoUnnamedFiles(int err) { return err == EOPNOTSUPP || err == EISDIR || err == EINVAL; }

}  // namespace

PendingReplacement::PendingReplacement(const std::string& path, bool keepOld) : started_(Start(path, keepOld)) {}

PendingReplacement::~PendingReplacement() { Discard(); }

Replacement PendingReplacement::Start(const std::string& path, bool keepOld) {
  target_ = RenameTarget(path);
  if (target_.empty()) {
    SetLastErrorFromErrno(errno);
    return Replacement::NotAFile;
  }
  folder_ = FolderOf(target_);
  struct stat existing {};
  const bool exists = ::stat(target_.c_str(), &existing) == 0;
  if (exists) {
    FileKind kind = KindOf(existing.st_mode);
    if (kind == FileKind::Folder) {
      SetLastErrorFromErrno(EISDIR);
      return Replacement::CannotCreate;
    }
    if (kind != FileKind::Regular) {
      SetLastErrorFromErrno(EINVAL);
      return Replacement::NotAFile;
    }
    if (KeptFromWriting(target_, existing)) {
      SetLastErrorFromErrno(EACCES);
      return Replacement::ReadOnly;
    }
  }
  RemoveLeftovers(folder_, target_);
  temp_ = UniqueFd(::open(folder_.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666));
  if (temp_.get() < 0 && NoUnnamedFiles(errno)) {
    for (int attempt = 0; attempt < 100; ++attempt) {
      tempPath_ = LeftoverName(target_);
      temp_ = UniqueFd(::open(tempPath_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
      if (temp_.get() >= 0 || errno != EEXIST) break;
    }
  }
  if (temp_.get() < 0) {
    SetLastErrorFromErrno(errno);
    tempPath_.clear();
    return Replacement::CannotCreate;
  }
  if (exists && ::fchmod(temp_.get(), existing.st_mode & 07777) != 0) {
    SetLastErrorFromErrno(errno);
    Discard();
    return Replacement::CannotCreate;
  }
  if (keepOld && exists && !CopyFileTo(target_, temp_.get())) {
    SetLastErrorFromErrno(errno);
    Discard();
    return Replacement::CannotCopyOld;
  }
  return Replacement::Done;
}

bool PendingReplacement::Write(std::string_view text) {
  if (temp_.get() < 0 || writeFailed_) return false;
  if (WriteAll(temp_.get(), text)) return true;
  SetLastErrorFromErrno(errno);
  writeFailed_ = true;
  return false;
}

bool PendingReplacement::NameTheNewFile() {
  if (!tempPath_.empty()) return true;
  const std::string self = "/proc/self/fd/" + std::to_string(temp_.get());
  for (int attempt = 0; attempt < 100; ++attempt) {
    tempPath_ = LeftoverName(target_);
    int linked = ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, tempPath_.c_str(), AT_SYMLINK_FOLLOW);
    // Without /proc the descriptor itself can be linked (this needs more privilege).
    if (linked != 0 && errno == ENOENT) linked = ::linkat(temp_.get(), "", AT_FDCWD, tempPath_.c_str(), AT_EMPTY_PATH);
    if (linked == 0) return true;
    if (errno != EEXIST) break;
  }
  tempPath_.clear();
  return false;
}

Replacement PendingReplacement::Commit() {
  if (started_ != Replacement::Done) return started_;
  if (writeFailed_ || temp_.get() < 0) {
    Discard();
    return Replacement::CannotWrite;
  }
  auto fail = [this] {
    SetLastErrorFromErrno(errno);
    Discard();
    return Replacement::CannotWrite;
  };
  if (::fsync(temp_.get()) != 0 || !NameTheNewFile()) return fail();
  if (!temp_.Close()) return fail();
  if (::rename(tempPath_.c_str(), target_.c_str()) != 0) return fail();
  tempPath_.clear();
  // The rename lives in the folder: flushed, the new name survives a power cut. Some file
  // systems cannot flush a folder; the file is replaced all the same.
  UniqueFd folder(::open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (folder.get() >= 0) ::fsync(folder.get());
  return Replacement::Done;
}

void PendingReplacement::Discard() {
  temp_ = UniqueFd(-1);
  if (!tempPath_.empty()) ::unlink(tempPath_.c_str());
  tempPath_.clear();
}

Replacement ReplaceFileContents(const std::string& path, std::string_view text, bool keepOld) {
  PendingReplacement replacement(path, keepOld);
  if (replacement.Started() != Replacement::Done) return replacement.Started();
  replacement.Write(text);
  return replacement.Commit();
}

}  // namespace win
