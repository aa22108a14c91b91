#include "tests/support/child_program.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/mman.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <string_view>
#include <utility>

extern char** environ;

namespace test_support {
namespace {

// A file in memory: what the child writes there is read back after it has ended, however
// many of its own children still hold it open.
class MemoryFile {
 public:
  explicit MemoryFile(std::string_view contents = {}) : fd_(memfd_create("child-stream", MFD_CLOEXEC)) {
    if (fd_ >= 0 && !contents.empty()) {
      (void)!::write(fd_, contents.data(), contents.size());
      ::lseek(fd_, 0, SEEK_SET);
    }
  }
  ~MemoryFile() {
    if (fd_ >= 0) ::close(fd_);
  }
  MemoryFile(const MemoryFile&) = delete;
  MemoryFile& operator=(const MemoryFile&) = delete;

  int Fd() const { return fd_; }
  std::string Contents() const { return ContentsOf(fd_); }
  // Hands the file over to the caller, who closes it.
  int Release() { return std::exchange(fd_, -1); }

  static std::string ContentsOf(int fd) {
    std::string text;
    char block[65536];
    for (off_t at = 0;;) {
      ssize_t n = ::pread(fd, block, sizeof block, at);
      if (n <= 0) break;
      text.append(block, static_cast<std::size_t>(n));
      at += n;
    }
    return text;
  }

 private:
  int fd_;
};

std::vector<std::string> ChildEnvironment(const ChildOptions& options) {
  std::vector<std::string> env;
  for (char** e = environ; *e != nullptr; ++e) {
    std::string_view entry(*e);
    bool dropped = false;
    for (const std::string& prefix : options.dropInherited) dropped = dropped || entry.starts_with(prefix);
    // A setting given for the child replaces the inherited one of that name.
    for (const std::string& setting : options.environment) {
      std::string_view name = std::string_view(setting).substr(0, setting.find('=') + 1);
      dropped = dropped || entry.starts_with(name);
    }
    if (!dropped) env.emplace_back(entry);
  }
  env.insert(env.end(), options.environment.begin(), options.environment.end());
  return env;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
  std::vector<char*> pointers;
  for (std::string& text : texts) pointers.push_back(text.data());
  pointers.push_back(nullptr);
  return pointers;
}

// Waits for the child to end, at most `timeout`; false when it was still running.
bool AwaitEnd(pid_t child, std::chrono::milliseconds timeout) {
  // Through the system call: this C library declares its wrapper without C linkage.
  int fd = static_cast<int>(::syscall(SYS_pidfd_open, child, 0));
  if (fd < 0) return true;  // waitpid below waits without a limit
  pollfd ended{fd, POLLIN, 0};
  int ready;
  do {
    ready = ::poll(&ended, 1, static_cast<int>(timeout.count()));
  } while (ready < 0 && errno == EINTR);
  ::close(fd);
  return ready != 0;
}

// Starts the child with the three standard streams given; 0 when it did not start.
pid_t Spawn(const std::vector<std::string>& arguments, const ChildOptions& options, int input, int output, int errors) {
  if (arguments.empty()) return 0;
  std::vector<std::string> args = arguments;
  std::vector<std::string> env = ChildEnvironment(options);
  std::vector<char*> argv = Pointers(args);
  std::vector<char*> envp = Pointers(env);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (input < 0) {
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  } else {
    posix_spawn_file_actions_adddup2(&actions, input, STDIN_FILENO);
  }
  posix_spawn_file_actions_adddup2(&actions, output, STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, errors, STDERR_FILENO);
  if (!options.folder.empty()) posix_spawn_file_actions_addchdir_np(&actions, options.folder.c_str());
  pid_t child = 0;
  int spawned = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  return spawned == 0 ? child : 0;
}

// Reaps the child and tells how it ended.
void Reap(pid_t child, ChildRun& run) {
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  run.signalled = WIFSIGNALED(status);
  run.status = run.signalled ? 128 + WTERMSIG(status) : WEXITSTATUS(status);
}

}  // namespace

ChildRun RunChild(const std::vector<std::string>& arguments, const ChildOptions& options) {
  ChildRun run;
  MemoryFile input(options.input), output, errors;
  const pid_t child = Spawn(arguments, options, options.input.empty() ? -1 : input.Fd(), output.Fd(), errors.Fd());
  if (child == 0) return run;

  run.started = true;
  if (!AwaitEnd(child, options.timeout)) {
    run.timedOut = true;
    ::kill(child, SIGKILL);
  }
  Reap(child, run);
  run.output = output.Contents();
  run.errors = errors.Contents();
  return run;
}

StartedChild::StartedChild(const std::vector<std::string>& arguments, const ChildOptions& options) {
  MemoryFile output, errors;
  const pid_t child = Spawn(arguments, options, -1, output.Fd(), errors.Fd());
  if (child == 0) return;
  pid_ = child;
  run_.started = true;
  output_ = output.Release();
  errors_ = errors.Release();
}

StartedChild::~StartedChild() {
  if (Started() && !ended_) {
    ::kill(pid_, SIGKILL);
    Reap(pid_, run_);
  }
  if (output_ >= 0) ::close(output_);
  if (errors_ >= 0) ::close(errors_);
}

void StartedChild::Signal(int signal) const {
  if (Started() && !ended_) ::kill(pid_, signal);
}

std::string StartedChild::Output() const { return output_ >= 0 ? MemoryFile::ContentsOf(output_) : ""; }
std::string StartedChild::Errors() const { return errors_ >= 0 ? MemoryFile::ContentsOf(errors_) : ""; }

ChildRun StartedChild::Wait(std::chrono::milliseconds limit) {
  if (!Started() || ended_) return run_;
  if (!AwaitEnd(pid_, limit)) {
    ChildRun running = run_;
    running.timedOut = true;
    return running;
  }
  Reap(pid_, run_);
  ended_ = true;
  run_.output = Output();
  run_.errors = Errors();
  return run_;
}

}  // namespace test_support
