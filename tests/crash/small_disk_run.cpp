// Runs a program on a small file system of its own, for the tests of a report file that
// cannot be written: a tmpfs mounted in a mount namespace of a user namespace, so any user
// can make one and nothing outside sees it.
//
//   small_disk_run FOLDER full|read-only COPY PROGRAM [ARGUMENT ...]
//
// FOLDER (empty) becomes the file system and the program's working folder. "full": it holds
// "Faultscribe.log" with 4000 bytes of old reports and is otherwise full; "read-only": it
// holds "Faultscribe.log" with "old report" and is mounted read-only. Once the program has
// ended, "Faultscribe.log" is copied to COPY (the file system goes with the namespace).
// Exits with the program's status (128 + the signal that ended it), or 77 when this machine
// gives no namespace.
#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "tests/support/file_text.h"

namespace {

constexpr int kNoNamespace = 77;

bool WriteFile(const std::string& path, const std::string& text, int flags = O_WRONLY | O_CREAT | O_TRUNC) {
  int fd = ::open(path.c_str(), flags | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  bool ok = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
  return ::close(fd) == 0 && ok;
}

// The same user and group inside as outside.
bool EnterNamespaces() {
  const uid_t uid = ::getuid();
  const gid_t gid = ::getgid();
  if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0) return false;
  WriteFile("/proc/self/setgroups", "deny", O_WRONLY);
  return WriteFile("/proc/self/uid_map", std::to_string(uid) + " " + std::to_string(uid) + " 1", O_WRONLY) &&
         WriteFile("/proc/self/gid_map", std::to_string(gid) + " " + std::to_string(gid) + " 1", O_WRONLY) &&
         ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
}

// Fills what is left of the file system.
void Fill(const std::string& folder) {
  int fd = ::open((folder + "/filler").c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
  char block[512] = {};
  while (fd >= 0 && ::write(fd, block, sizeof block) > 0) {
  }
  for (std::size_t size = 256; fd >= 0 && size > 0; size /= 2) {
    while (::write(fd, block, size) > 0) {
    }
  }
  if (fd >= 0) ::close(fd);
}

bool MakeFileSystem(const std::string& folder, const std::string& mode) {
  if (::mount("small-disk", folder.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, "size=64k") != 0) return false;
  const std::string log = folder + "/Faultscribe.log";
  if (mode == "full") {
    // The old reports end inside a page, so the next report fits in part before the disk is full.
    if (!WriteFile(log, "old report" + std::string(3990, '.'))) return false;
    Fill(folder);
    return true;
  }
  return WriteFile(log, "old report") &&
         ::mount(nullptr, folder.c_str(), nullptr, MS_REMOUNT | MS_RDONLY | MS_NOSUID | MS_NODEV, nullptr) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 5) {
    std::fprintf(stderr, "usage: %s FOLDER full|read-only COPY PROGRAM [ARGUMENT ...]\n", argv[0]);
    return 2;
  }
  const std::string folder = argv[1];
  const std::string mode = argv[2];
  if (!EnterNamespaces()) {
    std::fprintf(stderr, "no user and mount namespace: %s\n", std::strerror(errno));
    return kNoNamespace;
  }
  if (!MakeFileSystem(folder, mode)) {
    std::fprintf(stderr, "no small file system at %s: %s\n", folder.c_str(), std::strerror(errno));
    return 1;
  }
  pid_t child = ::fork();
  if (child == 0) {
    if (::chdir(folder.c_str()) == 0) ::execv(argv[4], argv + 4);
    ::_exit(127);
  }
  int status = 0;
  while (child > 0 && ::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  WriteFile(argv[3], test_support::FileText(folder + "/Faultscribe.log"));
  return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : WEXITSTATUS(status);
}
