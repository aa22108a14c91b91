#pragma once
// The version strings our build writes into every program file it links: an ELF note
// (owner "Boxwright", type 1) holding name and value pairs, each NUL-terminated, such as
// "FileVersion" and the project's version. The "version.dll" provider reads them back from
// the file itself, so a program file keeps telling its version wherever it is copied.
#include <optional>
#include <string>

#include "platform/win/modules/file_version.h"

namespace win {
// The version strings of a program file of our build; none for any other file, and for a
// file that is not a well-formed ELF file of this machine's kind.
std::optional<VersionResource> ReadEmbeddedVersion(const std::string& file);
}  // namespace win
