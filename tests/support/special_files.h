#pragma once
// What may stand at a path a user picks that is not a regular file, and files larger than
// they look, for tests of what the program refuses to read or replace.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace test_support {

inline void MakeFifo(const std::filesystem::path& path) { ASSERT_EQ(::mkfifo(path.c_str(), 0644), 0) << path; }

// A socket nobody listens on. Its folder is reached through a descriptor, so a path longer
// than a socket address holds can still get one.
inline void MakeSocket(const std::filesystem::path& path) {
  int folder = ::open(path.parent_path().empty() ? "." : path.parent_path().c_str(), O_RDONLY | O_DIRECTORY);
  ASSERT_GE(folder, 0) << path;
  const std::string reached = "/proc/self/fd/" + std::to_string(folder) + "/" + path.filename().string();
  sockaddr_un address{.sun_family = AF_UNIX, .sun_path = {}};
  ASSERT_LT(reached.size(), sizeof address.sun_path);
  reached.copy(address.sun_path, sizeof address.sun_path - 1);
  int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  EXPECT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0) << path;
  ::close(fd);
  ::close(folder);
}

// A file of `size` bytes that starts with `head` and takes no room on the disk past it.
inline void MakeSparseFile(const std::filesystem::path& path, std::string_view head, std::uintmax_t size) {
  {
    std::ofstream out(path, std::ios::binary);
    out << head;
  }
  std::filesystem::resize_file(path, size);
}

}  // namespace test_support
