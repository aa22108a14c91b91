#pragma once
// The toolkit's file services: attributes, one directory entry, deleting, a string of a
// file's version resource, and writing a text to a file. File names are used without
// their trailing blanks and never cut: a name the system cannot take fails.
#include <optional>
#include <string>
#include <string_view>

#include "platform/win/types.h"

// One directory entry. Strings are kept without padding.
struct ENTRYG {
  std::string NAME;       // without folder, at most 256 characters
  std::string SHORTNAME;  // the 8.3 form, at most 13 characters
  LONG DATE = 0;          // last write, in TODAY() days
  LONG TIME = 0;          // last write, in CLOCK() hundredths counted from 1 (never 0)
  LONG SIZE = 0;          // bytes; a file of 2 GiB or more reads 7FFFFFFFh
  BYTE ATTRIB = 0;        // FILE_ATTRIBUTE_READONLY, _HIDDEN, _DIRECTORY
};

// 1 when the attributes were set (read-only on or off), 0 otherwise.
LONG kx_SetFileAttributes(std::string_view fileName, BYTE attributes);
// 1 with the first matching entry (the name may carry * and ?), 0 with the record cleared.
LONG kx_GetFileDirEntry(std::string_view fileName, ENTRYG& entry);
// 1 when the file was deleted (read-only is cleared first), 0 otherwise.
LONG kx_DeleteFile(std::string_view fileName);
// One string of a file's version resource: fileName omitted is the program's own file,
// key omitted is "FileVersion". Empty on any failure (recorded as 0xA0000031).
std::string kx_GetFileVersionInfo(std::optional<std::string_view> fileName = std::nullopt,
                                  std::optional<std::string_view> key = std::nullopt);
// Writes text to the file, replacing it, or appending when append is non-zero (a missing
// file is created either way). length 0 (or below) writes the text without trailing blanks;
// a length beyond the text writes the whole text. 0 on success, else the toolkit error code.
LONG kx_String2File(std::string_view fileName, std::string_view text, LONG length, BYTE append);
