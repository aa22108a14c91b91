#pragma once
// Replacing a file's contents so that it is never left half written, nor anything left beside
// it by a save that was cut short.
#include <string>
#include <string_view>

#include "platform/win/files/unique_fd.h"

namespace win {

// ReadOnly: a file the user keeps from being written. NotAFile: a named pipe, a device, a
// socket or a link to nothing stands at the path. The others name the step that failed.
enum class Replacement { Done, ReadOnly, NotAFile, CannotCreate, CannotCopyOld, CannotWrite };

// A replacement under way. The new contents go to a file of no name in the target's folder
// (where the file system has none, to "<name>.tmp-<pid>-<n>", which a later replacement of
// the same file removes once its process is gone); Commit gives it the target's name and
// flushes the folder, so a process killed before then leaves the old file whole and nothing
// else. Through a symbolic link the file it names is replaced and the link kept; a folder is
// never replaced (CannotCreate). An uncommitted replacement is discarded when it goes.
class PendingReplacement {
 public:
  // With keepOld the new file starts with the old one's contents (an append).
  PendingReplacement(const std::string& path, bool keepOld);
  ~PendingReplacement();
  PendingReplacement(const PendingReplacement&) = delete;
  PendingReplacement& operator=(const PendingReplacement&) = delete;

  // Done when the new file is ready for writing; otherwise the refusal or the failed step.
  Replacement Started() const { return started_; }
  bool Write(std::string_view text);
  // Flushes the new file to disk and renames it over the target. On failure the old file is as
  // it was and the last error tells why.
  Replacement Commit();

 private:
  Replacement Start(const std::string& path, bool keepOld);
  bool NameTheNewFile();
  void Discard();

  std::string target_;  // the file to replace (a link's target)
  std::string folder_;
  std::string tempPath_;  // the new file's name once it has one
  UniqueFd temp_{-1};
  Replacement started_ = Replacement::CannotCreate;
  bool writeFailed_ = false;
};

// The whole replacement in one call: the new file holds `text` (after the old contents with
// keepOld). On failure the old file is as it was, no new file is left, the answer says why
// and the last error tells the system's reason.
Replacement ReplaceFileContents(const std::string& path, std::string_view text, bool keepOld = false);

}  // namespace win
