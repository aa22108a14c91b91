#pragma once
// Whether a file is a program that the shell starts when it is itself the target. Only an ELF
// executable is: mode bits decide nothing (every file on a FAT stick has the execute bit), and
// a script is a document that goes to its handler, as a text with "#!" is on the desktop.
#include <string>

namespace win {

// A regular file beginning with the ELF magic that the desktop's MIME database types as an
// executable program (not a shared library, and not a document named like one).
bool IsProgramFile(const std::string& path);

}  // namespace win
