#include "platform/win/files/write_all.h"

#include <unistd.h>

#include <cerrno>

namespace win {

bool WriteAll(int fd, std::string_view text) {
  while (!text.empty()) {
    ssize_t put = ::write(fd, text.data(), text.size());
    if (put < 0 && errno == EINTR) continue;
    if (put < 0) return false;
    if (put == 0) {
      errno = ENOSPC;
      return false;
    }
    text.remove_prefix(static_cast<std::size_t>(put));
  }
  return true;
}

bool WriteAll(int fd, std::initializer_list<std::string_view> texts) {
  for (std::string_view text : texts) {
    if (!WriteAll(fd, text)) return false;
  }
  return true;
}

}  // namespace win
