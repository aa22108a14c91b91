#include "platform/framework/settings_file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/win/last_error.h"
#include "platform/win/unique_fd.h"

namespace settings_io {

FileText ReadWholeFile(const std::string& path) {
  win::UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (fd.get() < 0) {
    int err = errno;
    SetLastErrorFromErrno(err);
    return {err == ENOENT || err == ENOTDIR ? ReadOutcome::Missing : ReadOutcome::Failed, {}};
  }
  struct stat info {};
  if (::fstat(fd.get(), &info) != 0) {
    SetLastErrorFromErrno(errno);
    return {ReadOutcome::Failed, {}};
  }
  if (!S_ISREG(info.st_mode) || static_cast<std::size_t>(info.st_size) > kMaxSettingsFileSize) {
    SetLastErrorFromErrno(S_ISREG(info.st_mode) ? EFBIG : EINVAL);
    return {ReadOutcome::Failed, {}};
  }
  std::string text;
  char buffer[8192];
  for (;;) {
    ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      SetLastErrorFromErrno(errno);
      return {ReadOutcome::Failed, {}};
    }
    text.append(buffer, static_cast<size_t>(n));
    if (text.size() > kMaxSettingsFileSize) {  // grew while we read it
      SetLastErrorFromErrno(EFBIG);
      return {ReadOutcome::Failed, {}};
    }
  }
  return {ReadOutcome::Read, std::move(text)};
}

}  // namespace settings_io
