#pragma once
// The files of loaded modules, opened to read their debug records, and only when they are
// surely the loaded image: a program file replaced during the run (an upgrade) would lend
// another program's names, and a FIFO in its place would hang the report.
#include "crash/records/record_file.h"
#include "platform/win/types.h"

namespace crash {
// Keeps a descriptor of the program's own file, taken through the process itself, so a file
// renamed, replaced or deleted later still reads as the running image. Outside any fault.
void KeepProgramFile();
// Opens the file of the loaded module `module` (its handle): the program's through the kept
// descriptor, any other at `path` (a regular file only, never waited for); either only when the
// file's build id is the one the loaded image carries.
bool OpenModuleFile(LONG_PTR module, const char* path, RecordFile& file);
}  // namespace crash
