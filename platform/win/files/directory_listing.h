#pragma once
// The directory listing that the toolkit reads file entries from: every entry (files,
// folders, hidden names) matching a name that may carry the wild cards * and ?.
#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

#include "platform/win/types.h"

namespace win {

struct DirectoryEntry {
  std::string name;       // without its folder
  std::string shortName;  // the 8.3 form: the name in capitals when it fits, else NAME~1.EXT
  std::time_t lastWrite = 0;
  LONG lastWriteHundredths = 0;  // the hundredths of a second within `lastWrite`
  std::int64_t size = 0;
  DWORD attributes = 0;  // FILE_ATTRIBUTE_READONLY, _HIDDEN (a name starting with "."), _DIRECTORY
};

// A name without wild cards lists that file or folder itself; with them, the matching
// entries of the folder ("." and ".." excepted) in order of name. Nothing matches: empty.
std::vector<DirectoryEntry> ListDirectory(const std::string& pattern);

}  // namespace win
