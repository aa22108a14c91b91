#pragma once
// The build id a module file carries (its GNU build-id note, found through the program headers,
// which strip keeps): what tells whether a file on disk is the image that was loaded. Bounded
// reads of the file only: usable in a signal handler, whatever the file holds.
#include "crash/records/record_file.h"
#include "platform/win/modules/elf_notes.h"

namespace crash {
// True with the id when the file is a 64-bit little-endian ELF file whose note segments hold one.
bool ReadFileBuildId(const RecordFile& file, win::BuildId& id);
}  // namespace crash
