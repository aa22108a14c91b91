#include "platform/framework/settings_file_io.h"

#include <unistd.h>

#include <cerrno>

#include "platform/win/files/file_kind.h"
#include "platform/win/system/format_message.h"
#include "platform/win/system/last_error.h"

namespace settings_io {
namespace {

FileText Failure(int err, std::string reason = {}) {
  SetLastErrorFromErrno(err);
  return {ReadOutcome::Failed, {}, reason.empty() ? LastErrorSentence() : std::move(reason), false};
}

FileText TooLarge() { return Failure(EFBIG, "It is larger than 1 MiB, too large to be a settings file."); }

}  // namespace

std::string LastErrorSentence() {
  std::string text = SystemErrorSentence(GetLastError());
  return text.empty() ? "It could not be written." : text;
}

FileText ReadWholeFile(const std::string& path) {
  win::RegularFile file = win::OpenRegularFile(path);
  if (file.fd.get() < 0) {
    if (file.kind == win::FileKind::Missing && (file.error == ENOENT || file.error == ENOTDIR)) {
      SetLastErrorFromErrno(file.error);
      return {ReadOutcome::Missing, {}, {}, false};
    }
    if (file.kind == win::FileKind::Folder) return Failure(EISDIR, "A folder is in its place.");
    if (file.kind != win::FileKind::Regular && file.kind != win::FileKind::Missing) {
      return Failure(file.kind == win::FileKind::BrokenLink ? ENOENT : EINVAL, win::NotAFileSentence(file.kind));
    }
    return Failure(file.error);
  }
  if (static_cast<std::size_t>(file.info.st_size) > kMaxSettingsFileSize) return TooLarge();
  std::string text;
  char buffer[8192];
  for (;;) {
    ssize_t n = ::read(file.fd.get(), buffer, sizeof buffer);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      return Failure(errno);
    }
    text.append(buffer, static_cast<size_t>(n));
    if (text.size() > kMaxSettingsFileSize) return TooLarge();  // grew while we read it
  }
  return {ReadOutcome::Read, std::move(text), {}, win::KeptFromWriting(path, file.info)};
}

}  // namespace settings_io
