#pragma once
// A file the user dropped or picked, read whole into a Textrope only when it is a regular file
// of a size the program's own files can have: a named pipe, a device, a socket or a folder is
// never opened for reading, and a file too large is refused before a byte of it is read.
#include <cstdint>
#include <string>

class Textrope;

enum class PickedOutcome {
  Loaded,      // ST holds the file (nothing for an empty one)
  Unreadable,  // missing, or a read failed
  NotAFile,
  TooLarge,
};

struct PickedFile {
  PickedOutcome outcome = PickedOutcome::Unreadable;
  std::string reason;  // for the user, one sentence; empty when Loaded
};

// Larger than `largest` bytes is TooLarge, with no reason: the caller says what the file is not.
PickedFile LoadPickedFile(Textrope& ST, const std::string& path, std::int64_t largest);

// Why a file operation of ST failed, in the system's words when it gave a code.
std::string FailureReason(const Textrope& ST);
