#include "platform/win/system/system_log.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <mutex>
#include <optional>

namespace {

// The "user" facility at "debug" severity.
constexpr int kPriority = 1 * 8 + 7;

std::mutex gLock;
std::optional<std::string> gSocketPath;  // read from the environment on first use
int gSocket = -1;

const std::string& SocketPath() {
  if (!gSocketPath) {
    const char* path = std::getenv("BOXWRIGHT_SYSTEM_LOG");
    gSocketPath = path != nullptr ? path : "/dev/log";
  }
  return *gSocketPath;
}

// "<15>Mar  4 09:05:01 boxwright[1234]: ", the classic syslog head. The month is spelt in
// English whatever the locale, as every reader of the log expects.
std::string Head() {
  static constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                            "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char head[80];
  std::snprintf(head, sizeof head, "<%d>%s %2d %02d:%02d:%02d boxwright[%d]: ", kPriority, kMonths[local.tm_mon % 12],
                local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec, static_cast<int>(::getpid()));
  return head;
}

}  // namespace

namespace win {

void WriteSystemLog(std::string_view text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.remove_suffix(1);
  if (text.empty()) return;
  std::lock_guard lock(gLock);
  const std::string& path = SocketPath();
  sockaddr_un address{};
  if (path.empty() || path.size() >= sizeof address.sun_path) return;
  address.sun_family = AF_UNIX;
  path.copy(address.sun_path, path.size());
  if (gSocket < 0) gSocket = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (gSocket < 0) return;
  // Unconnected, so a restarted daemon is found again by the next line.
  const std::string message = Head() + std::string(text);
  (void)::sendto(gSocket, message.data(), message.size(), MSG_DONTWAIT | MSG_NOSIGNAL,
                 reinterpret_cast<const sockaddr*>(&address), sizeof address);
}

void UseSystemLogSocket(std::string path) {
  std::lock_guard lock(gLock);
  gSocketPath = std::move(path);
}

}  // namespace win
