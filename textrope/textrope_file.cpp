#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>

#include "platform/win/files/file_kind.h"
#include "platform/win/files/file_replacement.h"
#include "platform/win/system/last_error.h"
#include "textrope/byte_text.h"
#include "textrope/fresh_block.h"
#include "textrope/textrope.h"

using textrope::Clipped;

namespace {

LONG ErrnoCode(int err) { return static_cast<LONG>(SetLastErrorFromErrno(err)); }

// Reads up to count bytes at offset; answers the count read (short only at the end of the
// file), or -1 with errno set.
std::int64_t ReadAt(int fd, char* buffer, std::size_t count, off_t offset) {
  std::size_t done = 0;
  while (done < count) {
    ssize_t got = ::pread(fd, buffer + done, count - done, offset + static_cast<off_t>(done));
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return -1;
    if (got == 0) break;
    done += static_cast<std::size_t>(got);
  }
  return static_cast<std::int64_t>(done);
}

// Where the last folder separator stands: a '\\' if there is one, else a '/'.
std::size_t LastSeparator(std::string_view path) {
  std::size_t at = path.rfind('\\');
  return at != std::string_view::npos ? at : path.rfind('/');
}

}  // namespace

LONG Textrope::LoadFile(std::string_view fileName, LONG pOffset, LONG pLength) {
  bytes = 0;
  std::string_view name = Clipped(fileName);
  if (name.empty()) {
    winErrorCode = 0;
    ErrorTrap("LoadFile", "Cannot load the file, the name is blank.");
    return 0;
  }
  const std::string path(name);
  const std::string cannotOpen = "Error loading the file, could not open " + path + ".";
  if (path.find('\0') != std::string::npos) {
    winErrorCode = ErrnoCode(EINVAL);
    ErrorTrap("LoadFile", cannotOpen);
    return 0;
  }
  // Only a regular file is read: a named pipe or a device would hold the program or never end.
  win::RegularFile file = win::OpenRegularFile(path);
  if (file.fd.get() < 0) {
    winErrorCode = ErrnoCode(file.error);
    ErrorTrap("LoadFile", cannotOpen);
    return 0;
  }
  const std::int64_t size = file.info.st_size;
  if (size == 0) {
    winErrorCode = 0;
    ErrorTrap("LoadFile", "Error loading the file, the file size is zero. no data to read.");
    return 0;
  }
  if (size > INT32_MAX) {
    winErrorCode = 0;
    ErrorTrap("LoadFile", "Error loading the file, the file is 2 GB or larger.");
    return 0;
  }

  // Where to start and how much the file holds from there.
  std::int64_t start = 0;
  std::int64_t available = size;
  if (pOffset > 0) {
    if (pOffset >= size) {
      winErrorCode = 0;
      ErrorTrap("LoadFile", "Error loading the file, the offset is greater than the file length.");
      return 0;
    }
    start = pOffset;
    available = size - pOffset;
  } else if (pOffset < 0) {
    std::int64_t back = -static_cast<std::int64_t>(pOffset);
    if (back <= size) {
      start = size - back;
      available = back;
    }
  }
  const std::int64_t count = pLength > 0 ? std::min<std::int64_t>(available, pLength) : available;

  Free(0);
  base64 = 0;
  value = textrope::FreshBlock(static_cast<std::size_t>(count));
  std::int64_t got = ReadAt(file.fd.get(), value.data(), value.size(), static_cast<off_t>(start));
  if (got < 0) {
    winErrorCode = ErrnoCode(errno);
    Free(0);
    ErrorTrap("LoadFile", "Error loading the file, the ReadFile API failed.");
    return 0;
  }
  // A file that shrank since it was measured gives what it still holds.
  if (got < count) value.resize(static_cast<std::size_t>(got));
  bytes = static_cast<LONG>(got);
  return 1;
}

LONG Textrope::SaveFile(std::string_view fileName, LONG pAppendFlag) {
  return SaveFile(value, fileName, pAppendFlag, 0);
}

LONG Textrope::SaveFile(std::string_view writeString, std::string_view fileName, LONG pAppendFlag, LONG dataLen) {
  std::string_view name = Clipped(fileName);
  if (name.empty()) {
    winErrorCode = 0;
    ErrorTrap("SaveFile", "Cannot save the file, the file name passed is blank.");
    return 0;
  }
  const std::string path(name);
  const std::string cannotCreate = "Could not save the file, the CreateFile API failed to create " + path;
  const std::string cannotWrite = "Failed to save the file, WriteFile failed to write to " + path;
  if (path.find('\0') != std::string::npos) {
    winErrorCode = ErrnoCode(EINVAL);
    ErrorTrap("SaveFile", cannotCreate);
    return 0;
  }
  std::size_t count = writeString.size();
  if (dataLen > 0) count = std::min(count, static_cast<std::size_t>(dataLen));

  std::string_view failure = cannotWrite;
  switch (win::ReplaceFileContents(path, writeString.substr(0, count), pAppendFlag != 0)) {
    case win::Replacement::Done:
      return 1;
    // Refusals of our own, not failed system calls: the reason is the whole message.
    case win::Replacement::ReadOnly:
      winErrorCode = 0;
      ErrorTrap("SaveFile", "It is read-only, so it was left as it is.");
      return 0;
    case win::Replacement::NotAFile:
      winErrorCode = 0;
      ErrorTrap("SaveFile", win::NotAFileSentence(win::KindAt(path)));
      return 0;
    case win::Replacement::CannotCreate:
      failure = cannotCreate;
      break;
    case win::Replacement::CannotCopyOld:
      failure = "Failed to save the file, SetFilePointer failed, so could not append.";
      break;
    case win::Replacement::CannotWrite:
      break;
  }
  winErrorCode = static_cast<LONG>(GetLastError());
  ErrorTrap("SaveFile", failure);
  return 0;
}

LONG Textrope::SaveFileA(std::string_view writeString, std::string_view fileName, LONG pAppendFlag) {
  return SaveFile(writeString, fileName, pAppendFlag, 0);
}

std::string Textrope::PathOnly(std::optional<std::string_view> fPath) {
  std::string_view path = Clipped(fPath ? *fPath : std::string_view(value));
  std::size_t at = LastSeparator(path);
  if (at == std::string_view::npos) return {};
  return std::string(path.substr(0, at));
}

std::string Textrope::FileNameOnly(std::optional<std::string_view> fPath, LONG pIncludeExtension) {
  std::string_view path = Clipped(fPath ? *fPath : std::string_view(value));
  if (path.empty() || path.back() == '/' || path.back() == '\\') return {};
  std::size_t at = LastSeparator(path);
  std::string_view name = at == std::string_view::npos ? path : path.substr(at + 1);
  if (pIncludeExtension != 0) return std::string(name);
  // After a folder, a dot that starts the name ("dir/.profile") does not begin an extension.
  std::size_t dot = name.rfind('.');
  if (dot == std::string_view::npos || (dot == 0 && at != std::string_view::npos)) return std::string(name);
  return std::string(name.substr(0, dot));
}

std::string Textrope::ExtensionOnly(std::optional<std::string_view> fPath) {
  std::string_view path = Clipped(fPath ? *fPath : std::string_view(value));
  if (path.empty() || path.back() == '/' || path.back() == '\\' || path.back() == '.') return {};
  std::size_t at = path.find_last_of("./\\", path.size() - 2);
  if (at == std::string_view::npos || path[at] != '.') return {};
  return std::string(path.substr(at + 1));
}

LONG Textrope::ToBlob(BLOB* blob) {
  if (blob == nullptr) {
    ErrorTrap("ToBlob", "The passed BLOB pointer was null");
    return 0;
  }
  blob->assign(value.begin(), value.end());
  return 1;
}

LONG Textrope::FromBlob(BLOB* blob) {
  if (blob == nullptr || blob->empty()) {
    ErrorTrap("FromBlob", "The passed BLOB pointer was null or the BLOB did not contain any data.");
    return 0;
  }
  Free(0);
  value.assign(blob->begin(), blob->end());
  base64 = 0;
  return 1;
}
