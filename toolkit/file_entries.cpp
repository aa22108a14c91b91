// kx_SetFileAttributes, kx_GetFileDirEntry and kx_DeleteFile.
#include <algorithm>
#include <ctime>
#include <limits>

#include "platform/win/files/directory_listing.h"
#include "platform/win/files/files.h"
#include "toolkit/error_state.h"
#include "toolkit/file_name.h"
#include "toolkit/file_services.h"
#include "toolkit/tracing.h"

namespace {

constexpr LONG kUnixEpochDay = 61730;  // 1 January 1970 in TODAY() days
constexpr std::size_t kNameLimit = 256;
constexpr std::size_t kShortNameLimit = 13;

// The last-write time in the platform's local date and clock units.
void SetLastWrite(const win::DirectoryEntry& found, ENTRYG& entry) {
  std::tm local{};
  localtime_r(&found.lastWrite, &local);
  std::int64_t localSeconds = static_cast<std::int64_t>(found.lastWrite) + local.tm_gmtoff;
  std::int64_t days = localSeconds >= 0 ? localSeconds / 86400 : (localSeconds - 86399) / 86400;
  entry.DATE = static_cast<LONG>(kUnixEpochDay + days);
  // Counted from 1 as CLOCK() counts, so midnight is 1 and no time reads 0.
  entry.TIME = (local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec) * 100 + found.lastWriteHundredths + 1;
}

// The lookup without touching the error state, for kx_DeleteFile.
bool FindEntry(const std::string& name, ENTRYG& entry) {
  std::vector<win::DirectoryEntry> listing = win::ListDirectory(name);
  if (listing.empty()) {
    entry = ENTRYG{};
    return false;
  }
  const win::DirectoryEntry& first = listing.front();
  ENTRYG found;
  found.NAME = first.name.substr(0, kNameLimit);
  found.SHORTNAME = first.shortName.substr(0, kShortNameLimit);
  SetLastWrite(first, found);
  found.SIZE = static_cast<LONG>(std::min<std::int64_t>(first.size, std::numeric_limits<LONG>::max()));
  found.ATTRIB = static_cast<BYTE>(first.attributes & 0xFF);
  entry = found;
  return true;
}

}  // namespace

LONG kx_SetFileAttributes(std::string_view fileName, BYTE attributes) {
  kx_ErrorReset("kx_SetFileAttributes");
  std::optional<std::string> name = SystemFileName(fileName);
  return name && SetFileAttributesA(name->c_str(), attributes) ? 1 : 0;
}

LONG kx_GetFileDirEntry(std::string_view fileName, ENTRYG& entry) {
  kx_ErrorReset("kx_GetFileDirEntry");
  std::optional<std::string> name = SystemFileName(fileName);
  if (!name) {
    entry = ENTRYG{};
    return 0;
  }
  return FindEntry(*name, entry) ? 1 : 0;
}

LONG kx_DeleteFile(std::string_view fileName) {
  kx_ErrorReset("kx_DeleteFile");
  std::optional<std::string> name = SystemFileName(fileName);
  ENTRYG entry;
  if (!name || !FindEntry(*name, entry)) return 0;
  if (!SetFileAttributesA(name->c_str(), 0)) return 0;
  if (DeleteFileA(name->c_str())) return 1;
  if (kx_Tracing()) kx_ErrorSet(KX_ERR_DELETEFILE, kx_WinError());
  return 0;
}
