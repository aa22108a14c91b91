#include "crash/fault_path.h"

#include <fcntl.h>
#include <sys/uio.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/rt/clock.h"
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

bool WriteTextFile(const char* path, std::initializer_list<std::string_view> texts, bool append) {
  int fd = ::open(path, O_WRONLY | O_CREAT | O_CLOEXEC | (append ? O_APPEND : O_TRUNC), 0644);
  if (fd < 0) return false;
  bool ok = true;
  for (std::string_view text : texts) {
    while (ok && !text.empty()) {
      ssize_t n = ::write(fd, text.data(), text.size());
      if (n < 0 && errno == EINTR) continue;
      ok = n > 0;
      if (ok) text.remove_prefix(static_cast<std::size_t>(n));
    }
  }
  return ::close(fd) == 0 && ok;
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
