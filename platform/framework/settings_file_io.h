#pragma once
// Reading and replacing a small settings file without ever leaving it half written.
#include <cstddef>
#include <string>
#include <string_view>

namespace settings_io {

// A settings file is a few kilobytes; anything past this is not one of ours.
inline constexpr std::size_t kMaxSettingsFileSize = 1 << 20;

enum class ReadOutcome { Read, Missing, Failed };

struct FileText {
  ReadOutcome outcome = ReadOutcome::Missing;
  std::string text;
};

// Missing: no such file (an empty settings file in effect). Failed: it exists but could not
// be read whole (not a regular file, no permission, too large), so it must not be replaced.
FileText ReadWholeFile(const std::string& path);

// Writes text to a new file beside the target, flushes it to disk and renames it over the
// target (through a symbolic link to the file it names). On failure the target is as it was,
// the temporary file is gone and the last error tells why.
bool ReplaceFile(const std::string& path, std::string_view text);

}  // namespace settings_io
