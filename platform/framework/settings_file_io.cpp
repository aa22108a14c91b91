#include "platform/framework/settings_file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/win/format_message.h"
#include "platform/win/last_error.h"
#include "platform/win/unique_fd.h"

namespace settings_io {
namespace {

FileText Failure(int err, std::string reason = {}) {
  SetLastErrorFromErrno(err);
  return {ReadOutcome::Failed, {}, reason.empty() ? LastErrorSentence() : std::move(reason), false};
}

FileText TooLarge() { return Failure(EFBIG, "It is larger than 1 MiB, too large to be a settings file."); }

// The read-only attribute takes every write permission away; a file the user may not write
// is kept as well, even where the folder would let a rename replace it.
bool KeptFromWriting(const std::string& path, const struct stat& info) {
  return (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || ::access(path.c_str(), W_OK) != 0;
}

}  // namespace

std::string LastErrorSentence() {
  std::string text = SystemErrorText(GetLastError());
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  return text.empty() ? "It could not be written." : text;
}

FileText ReadWholeFile(const std::string& path) {
  win::UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (fd.get() < 0) {
    int err = errno;
    if (err == ENOENT || err == ENOTDIR) {
      SetLastErrorFromErrno(err);
      return {ReadOutcome::Missing, {}, {}, false};
    }
    return Failure(err);
  }
  struct stat info {};
  if (::fstat(fd.get(), &info) != 0) return Failure(errno);
  if (S_ISDIR(info.st_mode)) return Failure(EISDIR, "A folder is in its place.");
  if (!S_ISREG(info.st_mode)) return Failure(EINVAL, "It is not a file.");
  if (static_cast<std::size_t>(info.st_size) > kMaxSettingsFileSize) return TooLarge();
  std::string text;
  char buffer[8192];
  for (;;) {
    ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      return Failure(errno);
    }
    text.append(buffer, static_cast<size_t>(n));
    if (text.size() > kMaxSettingsFileSize) return TooLarge();  // grew while we read it
  }
  return {ReadOutcome::Read, std::move(text), {}, KeptFromWriting(path, info)};
}

}  // namespace settings_io
