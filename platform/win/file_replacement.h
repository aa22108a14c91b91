#pragma once
// Replacing a file's contents so that it is never left half written.
#include <string>
#include <string_view>

namespace win {

enum class Replacement { Done, CannotCreate, CannotCopyOld, CannotWrite };

// Writes a new file beside path (with the mode of the file it replaces), flushes it to disk and
// renames it over path; through a symbolic link the file it names is replaced and the link kept.
// With keepOld the new file starts with the old one's contents (an append). A folder is never
// replaced. On failure the old file is as it was, the temporary file is gone, the answer says
// which step failed and the last error tells why.
Replacement ReplaceFileContents(const std::string& path, std::string_view text, bool keepOld = false);

}  // namespace win
