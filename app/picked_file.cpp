#include "app/picked_file.h"

#include "platform/win/files/file_kind.h"
#include "platform/win/system/format_message.h"
#include "platform/win/system/last_error.h"
#include "textrope/textrope.h"

std::string FailureReason(const Textrope& ST) {
  // Code 0 is a refusal the Textrope said in its own words.
  std::string reason = ST.winErrorCode != 0 ? SystemErrorSentence(static_cast<DWORD>(ST.winErrorCode)) : "";
  return reason.empty() ? ST.lastError : reason;
}

PickedFile LoadPickedFile(Textrope& ST, const std::string& path, std::int64_t largest) {
  ST.Free();
  const win::RegularFile file = win::OpenRegularFile(path);
  if (file.fd.get() < 0) {
    if (file.kind != win::FileKind::Missing && file.kind != win::FileKind::Regular) {
      return {PickedOutcome::NotAFile, win::NotAFileSentence(file.kind)};
    }
    return {PickedOutcome::Unreadable, SystemErrorSentence(ErrorCodeFromErrno(file.error))};
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
