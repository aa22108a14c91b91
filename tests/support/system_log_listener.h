#pragma once
// A system log of the test's own: a datagram socket under /tmp (socket paths are short,
// whatever the checkout's path) that takes the program's log messages, in place of the
// machine's log, which tests never write to.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "tests/support/short_folder.h"

namespace test_support {

class SystemLogListener {
 public:
  SystemLogListener() : path_((folder_ / "log").string()) {
    socket_ = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    path_.copy(address.sun_path, sizeof address.sun_path - 1);
    if (::bind(socket_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
      ADD_FAILURE() << "cannot listen at " << path_;
  }
  ~SystemLogListener() { ::close(socket_); }
  SystemLogListener(const SystemLogListener&) = delete;
  SystemLogListener& operator=(const SystemLogListener&) = delete;

  const std::string& Path() const { return path_; }

  // Every message that arrived since the last call, whole, in order.
  std::vector<std::string> Messages() const {
    std::vector<std::string> messages;
    std::string buffer(1 << 16, '\0');
    for (;;) {
      const ssize_t n = ::recv(socket_, buffer.data(), buffer.size(), MSG_DONTWAIT);
      if (n < 0) break;
      messages.emplace_back(buffer.data(), static_cast<std::size_t>(n));
    }
    return messages;
  }

 private:
  ShortFolder folder_;
  std::string path_;
  int socket_ = -1;
};

}  // namespace test_support
