#include "crash/present/presenter_channel.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <string_view>
#include <vector>

#include "crash/present/presenter_protocol.h"
#include "platform/rt/command.h"
#include "platform/rt/script_resume.h"
#include "platform/win/files/write_all.h"

extern char** environ;

namespace crash {
namespace {

constexpr std::string_view kResumeName = "BOXWRIGHT_SCRIPT_RESUME=";

// Made at construction, as many and as long as the program's arguments are.
std::vector<char> gArgumentPool;
std::vector<char*> gArgv;
char** gEnvp = nullptr;  // mapped at fault time, as long as the environment is then
BoundedText<64> gResume;
int gPipe = -1;
pid_t gChild = -1;

bool WriteAll(const void* data, std::size_t size) {
  return win::WriteAll(gPipe, std::string_view(static_cast<const char*>(data), size));
}

// The environment as it is now, with the script's place for the presenting process. Its
// array is mapped rather than allocated: the heap may be what faulted.
bool PrepareEnvironment() {
  std::size_t entries = 0;
  for (char** entry = environ; entry && *entry; ++entry) ++entries;
  const std::size_t bytes = (entries + 2) * sizeof(char*);
  void* block = ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (block == MAP_FAILED) return false;
  gEnvp = static_cast<char**>(block);
  std::size_t count = 0;
  for (char** entry = environ; entry && *entry && count < entries; ++entry) {
    if (std::strncmp(*entry, kResumeName.data(), kResumeName.size()) == 0) continue;
    gEnvp[count++] = *entry;
  }
  rt::ScriptResume resume = rt::CurrentScriptResume();
  if (resume.answersFrom > 0) {
    gResume.Clear();
    gResume.Append(kResumeName).AppendDecimal(resume.answersFrom).Append(',').AppendDecimal(resume.after);
    gEnvp[count++] = const_cast<char*>(gResume.CStr());
  }
  gEnvp[count] = nullptr;
  return true;
}

[[noreturn]] void BecomePresenter(int readEnd) {
  // The child of _Fork: only async-signal-safe calls until execve.
  if (readEnd != kPresenterPipeFd) {
    ::dup2(readEnd, kPresenterPipeFd);
  } else {
    ::fcntl(kPresenterPipeFd, F_SETFD, 0);
  }
  ::close_range(kPresenterPipeFd + 1, ~0U, 0);
  ::execve("/proc/self/exe", gArgv.data(), gEnvp);
  ::_exit(127);
}

}  // namespace

void PreparePresenter() {
  const auto& args = rt::CommandLineArguments();
  std::vector<std::string_view> texts = {args.empty() ? std::string_view("boxwright") : std::string_view(args[0]),
                                         kPresenterSwitch};
  for (std::size_t i = 1; i < args.size(); ++i) texts.push_back(args[i]);
  std::size_t size = 0;
  for (std::string_view text : texts) size += text.size() + 1;
  gArgumentPool.assign(size, '\0');
  gArgv.clear();
  std::size_t used = 0;
  for (std::string_view text : texts) {
    std::memcpy(gArgumentPool.data() + used, text.data(), text.size());
    gArgv.push_back(gArgumentPool.data() + used);
    used += text.size() + 1;
  }
  gArgv.push_back(nullptr);
}

bool WantsWaitWindow(const FaultscribeClass& reporter, DWORD exceptionCode) {
  return reporter.CloseQuietly == 0 && exceptionCode != EXCEPTION_STACK_OVERFLOW && reporter.WaitWinEnabled == 1;
}

bool StartPresenter(FaultscribeClass& object, DWORD exceptionCode, bool openWaitWindow) {
  if (gArgv.empty() || !PrepareEnvironment()) return false;
  int ends[2];
  if (::pipe2(ends, O_CLOEXEC) != 0) return false;
  // Both survive execve: the new process must start with nothing blocked and its children
  // reaped the ordinary way.
  sigset_t none;
  sigemptyset(&none);
  sigset_t previous;
  ::pthread_sigmask(SIG_SETMASK, &none, &previous);
  struct sigaction childDefault{};
  childDefault.sa_handler = SIG_DFL;
  struct sigaction previousChild{};
  ::sigaction(SIGCHLD, &childDefault, &previousChild);
  // _Fork: no atfork handlers and no arena locks, which a fault inside malloc still holds.
  pid_t child = ::_Fork();
  if (child == 0) {
    ::close(ends[1]);
    BecomePresenter(ends[0]);
  }
  ::pthread_sigmask(SIG_SETMASK, &previous, nullptr);
  ::close(ends[0]);
  if (child < 0) {
    ::close(ends[1]);
    return false;
  }
  gChild = child;
  gPipe = ends[1];
  ::signal(SIGPIPE, SIG_IGN);  // a presenting process that died must not kill the report's writer
  const FaultscribeProperties& properties = object;
  FaultHeader header{kFaultMagic, exceptionCode, static_cast<std::uint32_t>(sizeof properties),
                     static_cast<std::uint8_t>(openWaitWindow ? 1 : 0)};
  return WriteAll(&header, sizeof header) && WriteAll(&properties, sizeof properties);
}

void ShowLevelsDone(LONG levels) {
  if (gPipe < 0) return;
  ReportHeader header{kLevelsMagic, static_cast<std::uint32_t>(levels), 0};
  WriteAll(&header, sizeof header);
}

void SendReportToPresenter(std::string_view report, int reportFileReason) {
  if (gPipe < 0) return;
  ReportHeader header{kFaultMagic, static_cast<std::uint32_t>(report.size()), reportFileReason};
  if (WriteAll(&header, sizeof header)) WriteAll(report.data(), report.size());
}

void AwaitPresenter() {
  if (gPipe >= 0) ::close(gPipe);
  gPipe = -1;
  if (gChild <= 0) return;
  int status = 0;
  while (::waitpid(gChild, &status, 0) < 0 && errno == EINTR) {
  }
  gChild = -1;
}

}  // namespace crash
