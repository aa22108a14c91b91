#include "toolkit/debug_output.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <mutex>
#include <string>

#include "platform/rt/clock.h"
#include "platform/rt/command.h"
#include "platform/win/system/debug_output.h"
#include "platform/win/system/last_error.h"
#include "toolkit/clip.h"

namespace hw {
namespace {
std::mutex gNameLock;
std::string OUTPUTFILENAME;  // set by the first thread that finds the key; at most 512 characters
}  // namespace
}  // namespace hw

namespace {

constexpr size_t kNameLimit = 512;

// The thread's own handle on the debug file; closed when the thread ends.
struct ThreadDebugFile {
  bool nameLookedUp = false;
  LONG openState = 0;  // 0 not tried, 1 open, negative: minus the error of the failed open
  int fd = -1;
  ~ThreadDebugFile() {
    if (fd >= 0) ::close(fd);
  }
};

thread_local ThreadDebugFile tFile;

std::string OutputFileName() {
  std::lock_guard guard(hw::gNameLock);
  return hw::OUTPUTFILENAME;
}

void LookUpFileName() {
  tFile.nameLookedUp = true;
  std::string name = COMMAND("DebugOutputFile");
  if (name.empty()) return;
  std::lock_guard guard(hw::gNameLock);
  hw::OUTPUTFILENAME = name.substr(0, kNameLimit);
}

// Opened for appending and created when missing, never truncated: several threads (and
// other programs) may open the same file at once.
void OpenFile(const std::string& name) {
  tFile.fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  tFile.openState = tFile.fd >= 0 ? 1 : -static_cast<LONG>(ErrorCodeFromErrno(errno));
}

// "hh:mm:ss:c " for the clock value t (hundredths from 1 at midnight).
std::string TimeStamp(LONG t) {
  LONG seconds = (t - 1) / 100;
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "%02d:%02d:%02d:%d ", seconds / 3600 % 100, seconds / 60 % 60, seconds % 60,
                t % 100);
  return stamp;
}

// One append per line, so that lines of several threads never interleave.
void AppendLine(const std::string& line) {
  const char* data = line.data();
  size_t left = line.size();
  while (left > 0) {
    ssize_t written = ::write(tFile.fd, data, left);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return;  // a failing write is dropped, as the caller cannot act on it
    data += written;
    left -= static_cast<size_t>(written);
  }
}

}  // namespace

void kx_OutputDebugString(std::string_view pDebugString, BYTE pAddCrLf) {
  std::string line(Clip(pDebugString));
  if (pAddCrLf) line += "\r\n";
  if (!tFile.nameLookedUp) LookUpFileName();
  std::string name = OutputFileName();
  if (!name.empty() && tFile.openState == 0) OpenFile(name);
  if (name.empty() || tFile.openState < 0) {
    OutputDebugStringA(line.c_str());
    return;
  }
  AppendLine(TimeStamp(CLOCK()) + line);
}
