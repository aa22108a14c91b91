#include "platform/framework/settings_file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <filesystem>

#include "platform/win/last_error.h"

namespace settings_io {
namespace {

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }
  // Closes now so that a failing close (delayed write error) is seen.
  bool Close() {
    int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

bool WriteAll(int fd, std::string_view text) {
  while (!text.empty()) {
    ssize_t n = ::write(fd, text.data(), text.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    text.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

// The file that a rename must replace: a symbolic link keeps pointing at the settings.
std::string RenameTarget(const std::string& path) {
  std::error_code ec;
  if (!std::filesystem::is_symlink(path, ec)) return path;
  std::filesystem::path target = std::filesystem::canonical(path, ec);
  return ec ? path : target.string();
}

std::atomic<unsigned> gTempCounter{0};

}  // namespace

FileText ReadWholeFile(const std::string& path) {
  Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
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

bool ReplaceFile(const std::string& path, std::string_view text) {
  const std::string target = RenameTarget(path);
  struct stat existing {};
  const bool exists = ::stat(target.c_str(), &existing) == 0;

  std::string temp;
  int raw = -1;
  for (int attempt = 0; attempt < 100 && raw < 0; ++attempt) {
    temp = target + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(gTempCounter++);
    raw = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (raw < 0 && errno != EEXIST) break;
  }
  if (raw < 0) {
    SetLastErrorFromErrno(errno);
    return false;
  }
  Descriptor fd(raw);
  bool ok = (!exists || ::fchmod(fd.get(), existing.st_mode & 07777) == 0) && WriteAll(fd.get(), text) &&
            ::fsync(fd.get()) == 0;
  ok = fd.Close() && ok;
  ok = ok && ::rename(temp.c_str(), target.c_str()) == 0;
  if (!ok) {
    int err = errno;
    ::unlink(temp.c_str());
    SetLastErrorFromErrno(err);
  }
  return ok;
}

}  // namespace settings_io
