#include "platform/win/files/file_kind.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace win {
namespace {

int ErrnoRefusing(FileKind kind) { return kind == FileKind::Folder ? EISDIR : EINVAL; }

}  // namespace

FileKind KindOf(mode_t mode) {
  if (S_ISREG(mode)) return FileKind::Regular;
  if (S_ISDIR(mode)) return FileKind::Folder;
  if (S_ISFIFO(mode)) return FileKind::NamedPipe;
  if (S_ISCHR(mode) || S_ISBLK(mode)) return FileKind::Device;
  if (S_ISSOCK(mode)) return FileKind::Socket;
  return FileKind::Other;
}

FileKind KindAt(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) == 0) return KindOf(info.st_mode);
  if (::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) return FileKind::BrokenLink;
  return FileKind::Missing;
}

std::string NotAFileSentence(FileKind kind) {
  switch (kind) {
    case FileKind::Folder:
      return "It is a folder, not a file.";
    case FileKind::NamedPipe:
      return "It is a named pipe, not a file.";
    case FileKind::Device:
      return "It is a device, not a file.";
    case FileKind::Socket:
      return "It is a socket, not a file.";
    case FileKind::BrokenLink:
      return "It is a link to a file that does not exist.";
    case FileKind::Missing:
      return "There is no such file.";
    case FileKind::Regular:
    case FileKind::Other:
      break;
  }
  return "It is not a file.";
}

bool KeptFromWriting(const std::string& path, const struct stat& info) {
  return (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || ::access(path.c_str(), W_OK) != 0;
}

RegularFile OpenRegularFile(const std::string& path) {
  RegularFile file;
  struct stat before {};
  if (::stat(path.c_str(), &before) != 0) {
    file.error = errno;
    file.kind = KindAt(path);
    return file;
  }
  file.kind = KindOf(before.st_mode);
  if (file.kind != FileKind::Regular) {
    file.error = ErrnoRefusing(file.kind);
    return file;
  }
  // Without O_NONBLOCK a named pipe swapped in after the look would hold the open until a
  // writer came; on a regular file the flag changes nothing.
  file.fd = UniqueFd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (file.fd.get() < 0 || ::fstat(file.fd.get(), &file.info) != 0) {
    file.error = errno;
    file.fd = UniqueFd(-1);
    return file;
  }
  file.kind = KindOf(file.info.st_mode);
  if (file.kind != FileKind::Regular) {
    file.error = ErrnoRefusing(file.kind);
    file.fd = UniqueFd(-1);
  }
  return file;
}

}  // namespace win
