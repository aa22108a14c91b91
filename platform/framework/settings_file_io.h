#pragma once
// Reading a small settings file whole (it is replaced through win::ReplaceFileContents).
#include <cstddef>
#include <string>

namespace settings_io {

// A settings file is a few kilobytes; anything past this is not one of ours.
inline constexpr std::size_t kMaxSettingsFileSize = 1 << 20;

enum class ReadOutcome { Read, Missing, Failed };

struct FileText {
  ReadOutcome outcome = ReadOutcome::Missing;
  std::string text;
  std::string reason;     // why it Failed, as a sentence for the user
  bool readOnly = false;  // Read, but the user keeps it from being written
};

// Missing: no such file (an empty settings file in effect). Failed: it exists but could not
// be read whole (not a regular file, no permission, too large), so it must not be replaced.
FileText ReadWholeFile(const std::string& path);

// The last error's text as one sentence without its line end.
std::string LastErrorSentence();

}  // namespace settings_io
