#include "crash/records/record_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace crash {

bool RecordFile::Open(const char* path) {
  Close();
  do fd_ = ::open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  while (fd_ < 0 && errno == EINTR);
  struct stat info {};
  if (fd_ >= 0 && (::fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode))) Close();
  return fd_ >= 0;
}

bool RecordFile::OpenDuplicate(int descriptor) {
  Close();
  if (descriptor >= 0) fd_ = ::fcntl(descriptor, F_DUPFD_CLOEXEC, 0);
  return fd_ >= 0;
}

void RecordFile::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

long RecordFile::ReadAt(std::uint64_t offset, void* into, std::size_t count) const {
  if (fd_ < 0) return -1;
  auto* bytes = static_cast<char*>(into);
  std::size_t done = 0;
  while (done < count) {
    ssize_t n = ::pread(fd_, bytes + done, count - done, static_cast<off_t>(offset + done));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return -1;
    if (n == 0) break;
    done += static_cast<std::size_t>(n);
  }
  return static_cast<long>(done);
}

bool RecordSpan::Use(const RecordFile& file, std::uint64_t offset, std::uint64_t size) {
  Forget();
  if (!file_.OpenDuplicate(file.Descriptor())) return false;
  offset_ = offset;
  size_ = size;
  return true;
}

void RecordSpan::Forget() {
  file_.Close();
  offset_ = size_ = 0;
}

bool RecordSpan::Read(std::uint64_t at, void* into, std::size_t count) const {
  if (at > size_ || count > size_ - at) return false;
  return file_.ReadExactly(offset_ + at, into, count);
}

bool RecordSpan::ReadName(std::uint64_t at, char* name, std::size_t limit) const {
  if (at >= size_) return false;
  const std::size_t count = static_cast<std::size_t>(std::min<std::uint64_t>(limit, size_ - at));
  if (!Read(at, name, count)) return false;
  name[count] = '\0';
  name[strnlen(name, count)] = '\0';
  return true;
}

}  // namespace crash
