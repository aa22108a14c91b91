#include "crash/fault_path.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/rt/clock.h"
#include "platform/win/files/write_all.h"
#include "toolkit/win_version.h"

namespace crash {
namespace {
BoundedText<256> gWinVersion;
}  // namespace

void PrepareFaultPath() {
  gWinVersion.Clear();
  gWinVersion.Append(kx_GetWinVersion());
  (void)CLOCK();  // notes the zone's offset for the fault path's clock
}

std::string_view WinVersionText() { return gWinVersion.View(); }

bool WriteAllTo(int fd, std::initializer_list<std::string_view> texts) {
  for (std::string_view text : texts) {
    if (!win::WriteAll(fd, text)) return false;
  }
  return true;
}

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
  } else if (!WriteAllTo(fd, texts)) {
    reason = errno;
    // A report cut short by a full disk would read as a whole one: what was written is taken back.
    (void)::ftruncate(fd, append ? status.st_size : 0);
  }
  if (::close(fd) != 0 && reason == 0) reason = errno;
  return reason;
}

bool DeleteTextFile(const char* path) { return ::unlink(path) == 0; }

std::size_t ReadMemory(ULONG_PTR address, char* out, std::size_t limit) {
  // Read through the kernel, page piece by page piece: an unmapped byte ends the text
  // instead of faulting the reporter.
  std::size_t done = 0;
  while (done < limit) {
    std::size_t pageLeft = 4096 - ((address + done) & 4095);
    std::size_t chunk = std::min(limit - done, pageLeft);
    iovec local{out + done, chunk};
    iovec remote{reinterpret_cast<void*>(address + done), chunk};
    ssize_t n = ::process_vm_readv(::getpid(), &local, 1, &remote, 1, 0);
    if (n <= 0) break;
    const void* nul = std::memchr(out + done, '\0', static_cast<std::size_t>(n));
    if (nul != nullptr) return static_cast<std::size_t>(static_cast<const char*>(nul) - out);
    done += static_cast<std::size_t>(n);
  }
  return done;
}

void EndProcess(int status) { ::_exit(status); }

}  // namespace crash
