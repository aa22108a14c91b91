// A stand-in mail program for the reporter's tests: appends the link it was started with,
// followed by a NUL byte, to the file named by its first argument. One write of the whole
// record, so the links of several parts opened at once all arrive whole.
#include <fcntl.h>
#include <unistd.h>

#include <string>

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  std::string record = std::string(argv[2]) + '\0';
  int fd = ::open(argv[1], O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  if (fd < 0) return 1;
  ssize_t written = ::write(fd, record.data(), record.size());
  ::close(fd);
  return written == static_cast<ssize_t>(record.size()) ? 0 : 1;
}
