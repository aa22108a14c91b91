#pragma once
// What stands at a path someone else named (a drop, a dialog's choice, a settings file), and
// opening it for reading so that a named pipe, a device or a socket there is never waited on
// or read.
#include <sys/stat.h>

#include <string>

#include "platform/win/files/unique_fd.h"

namespace win {

enum class FileKind { Missing, Regular, Folder, NamedPipe, Device, Socket, BrokenLink, Other };

FileKind KindOf(mode_t mode);
// What stands at path, following symbolic links; a link that leads nowhere is BrokenLink.
FileKind KindAt(const std::string& path);
// One sentence for the user on why such a thing is not read or written as a file:
// "It is a named pipe, not a file."
std::string NotAFileSentence(FileKind kind);

// The read-only attribute takes every write permission away; a file the user may not write
// is kept as well, even where the folder would let a rename replace it.
bool KeptFromWriting(const std::string& path, const struct stat& info);

struct RegularFile {
  UniqueFd fd{-1};        // open for reading, or -1
  struct stat info {};    // of the opened file
  FileKind kind = FileKind::Missing;  // what stands there, Regular when fd is open
  int error = 0;          // errno when fd is -1 (EISDIR for a folder, EINVAL for any other non-file)
};

// Opens path for reading only when a regular file stands there. The path is looked at before
// it is opened, so a named pipe or a device is never opened, and the opened file again, so one
// swapped in between is not read either.
RegularFile OpenRegularFile(const std::string& path);

}  // namespace win
