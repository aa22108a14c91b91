#include "crash/write/text_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/win/files/write_all.h"

namespace crash {

int WriteTextFile(const char* path, std::initializer_list<std::string_view> texts, bool append) {
  // Not O_TRUNC: what stands at the path is looked at before anything in it is dropped.
  int fd = ::open(path, O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC | (append ? O_APPEND : 0),
                  0644);
  // ENXIO: a FIFO that nobody reads, or a device without its driver.
  if (fd < 0) return errno == ENXIO ? kNotARegularFile : errno;
  int reason = 0;
  struct stat status {};
  if (::fstat(fd, &status) != 0) {
    reason = errno;
  } else if (!S_ISREG(status.st_mode)) {
    reason = kNotARegularFile;
  } else if (!append && ::ftruncate(fd, 0) != 0) {
    reason = errno;
  } else if (!win::WriteAll(fd, texts)) {
    reason = errno;
    // A report cut short by a full disk would read as a whole one: what was written is taken back.
    (void)::ftruncate(fd, append ? status.st_size : 0);
  }
  if (::close(fd) != 0 && reason == 0) reason = errno;
  return reason;
}

bool DeleteTextFile(const char* path) { return ::unlink(path) == 0; }

}  // namespace crash
