#include "app/picked_file.h"

#include "platform/win/files/file_kind.h"
#include "platform/win/system/format_message.h"
#include "platform/win/system/last_error.h"
#include "textrope/textrope.h"

namespace {

std::string SystemReason(DWORD code) {
  std::string text = code != 0 ? SystemErrorText(code) : std::string();
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  return text;
}

}  // namespace

std::string FailureReason(const Textrope& ST) {
  std::string reason = SystemReason(static_cast<DWORD>(ST.winErrorCode));
  return reason.empty() ? ST.lastError : reason;
}

PickedFile LoadPickedFile(Textrope& ST, const std::string& path, std::int64_t largest) {
  ST.Free();
  const win::RegularFile file = win::OpenRegularFile(path);
  if (file.fd.get() < 0) {
    if (file.kind != win::FileKind::Missing && file.kind != win::FileKind::Regular) {
      return {PickedOutcome::NotAFile, win::NotAFileSentence(file.kind)};
    }
    return {PickedOutcome::Unreadable, SystemReason(ErrorCodeFromErrno(file.error))};
  }
  if (file.info.st_size > largest) return {PickedOutcome::TooLarge, {}};
  if (file.info.st_size == 0) return {PickedOutcome::Loaded, {}};
  // One byte past the largest is asked for, so a file that grew since it was measured is
  // still caught without being read whole.
  if (ST.LoadFile(path, 0, static_cast<LONG>(largest + 1)) == 0) {
    return {PickedOutcome::Unreadable, FailureReason(ST)};
  }
  if (ST.bytes > largest) {
    ST.Free();
    return {PickedOutcome::TooLarge, {}};
  }
  return {PickedOutcome::Loaded, {}};
}
