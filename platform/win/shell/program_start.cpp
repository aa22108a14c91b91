#include "platform/win/shell/program_start.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <thread>

#include "platform/win/files/unique_fd.h"

extern char** environ;

namespace win {
namespace {

// Everything a started program gets from us, so that it never inherits our ignored
// signals, a blocked mask or open descriptors (the MIDI ports, the report pipe).
class SpawnSetup {
 public:
  explicit SpawnSetup(const std::string& directory) {
    posix_spawnattr_init(&attributes_);
    posix_spawn_file_actions_init(&actions_);
    sigset_t none;
    sigemptyset(&none);
    sigset_t all;
    sigfillset(&all);
    posix_spawnattr_setsigmask(&attributes_, &none);
    posix_spawnattr_setsigdefault(&attributes_, &all);
    posix_spawnattr_setflags(&attributes_, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSID);
    if (!directory.empty()) posix_spawn_file_actions_addchdir_np(&actions_, directory.c_str());
  }
  ~SpawnSetup() {
    posix_spawn_file_actions_destroy(&actions_);
    posix_spawnattr_destroy(&attributes_);
  }
  SpawnSetup(const SpawnSetup&) = delete;
  SpawnSetup& operator=(const SpawnSetup&) = delete;

  void InputFrom(int fd) { posix_spawn_file_actions_adddup2(&actions_, fd, STDIN_FILENO); }
  void OutputNowhere() {
    posix_spawn_file_actions_addopen(&actions_, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&actions_, STDOUT_FILENO, STDERR_FILENO);
  }

  // 0 or the errno; the child's pid in `pid`.
  int Spawn(const std::vector<std::string>& argv, pid_t* pid) {
    if (argv.empty() || argv.front().empty()) return ENOENT;
    posix_spawn_file_actions_addclosefrom_np(&actions_, STDERR_FILENO + 1);
    std::vector<char*> pointers;
    pointers.reserve(argv.size() + 1);
    for (const auto& argument : argv) pointers.push_back(const_cast<char*>(argument.c_str()));
    pointers.push_back(nullptr);
    return posix_spawnp(pid, pointers.front(), &actions_, &attributes_, pointers.data(), environ);
  }

 private:
  posix_spawnattr_t attributes_;
  posix_spawn_file_actions_t actions_;
};

void ReapWhenItEnds(pid_t pid) {
  std::thread([pid] {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
  }).detach();
}

void WriteBlocked(int fd, std::string_view text) {
  while (!text.empty()) {
    ssize_t written = ::write(fd, text.data(), text.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return;  // the helper went away; its status tells
    text.remove_prefix(static_cast<size_t>(written));
  }
}

// A helper that dies early must not take us with a SIGPIPE: the signal is blocked on this
// thread while writing, and one it raised is taken off again before the mask comes back.
void WriteAll(int fd, std::string_view text) {
  sigset_t pipeSignal, previous;
  sigemptyset(&pipeSignal);
  sigaddset(&pipeSignal, SIGPIPE);
  pthread_sigmask(SIG_BLOCK, &pipeSignal, &previous);
  WriteBlocked(fd, text);
  timespec noWait = {};
  while (sigtimedwait(&pipeSignal, nullptr, &noWait) == SIGPIPE) {
  }
  pthread_sigmask(SIG_SETMASK, &previous, nullptr);
}

}  // namespace

int StartProgram(const std::vector<std::string>& argv, const std::string& directory) {
  SpawnSetup setup(directory);
  pid_t pid = 0;
  if (int failure = setup.Spawn(argv, &pid); failure != 0) return failure;
  ReapWhenItEnds(pid);
  return 0;
}

int RunWithInput(const std::vector<std::string>& argv, std::string_view input, std::chrono::milliseconds limit) {
  int ends[2];
  if (::pipe2(ends, O_CLOEXEC) != 0) return errno;
  UniqueFd readEnd(ends[0]);
  UniqueFd writeEnd(ends[1]);
  SpawnSetup setup("");
  setup.InputFrom(readEnd.get());
  setup.OutputNowhere();
  pid_t pid = 0;
  if (int failure = setup.Spawn(argv, &pid); failure != 0) return failure;
  readEnd.Close();
  WriteAll(writeEnd.get(), input);
  writeEnd.Close();

  auto deadline = std::chrono::steady_clock::now() + limit;
  int status = 0;
  for (;;) {
    pid_t done = ::waitpid(pid, &status, WNOHANG);
    if (done == pid) break;
    if (done < 0 && errno != EINTR) return errno;
    if (std::chrono::steady_clock::now() >= deadline) {
      ReapWhenItEnds(pid);
      return ETIMEDOUT;
    }
    ::poll(nullptr, 0, 5);
  }
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? 0 : ECHILD;
}

}  // namespace win
