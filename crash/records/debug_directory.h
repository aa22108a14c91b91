#pragma once
// Finding a module's debug records: its file's section table is read (bounded: at most 4096
// sections, names cut at 8 characters) for the ".qvdebug" (or ".rdata") section whose first
// 28 bytes are a debug-directory entry of type "QVDB": the file offset and size of the records.
// The build writes the records into a section of their own, ".qvrecs"; when the file holds it
// with the entry's size, its offset now is the records' (strip and objcopy move sections).
#include <cstdint>

#include "crash/records/record_file.h"

namespace crash {

struct DebugDirectory {
  std::uint32_t offset = 0;  // PointerToRawData: where the records start in the file
  std::uint32_t size = 0;    // SizeOfData
};

// What the search meets, in order, for the trace log.
class DirectorySearchLog {
 public:
  virtual void SectionCount(unsigned count) = 0;
  virtual void SectionName(const char* name) = 0;
  virtual void SignatureNotFound() = 0;

 protected:
  ~DirectorySearchLog() = default;
};

// True with the entry found. A file that is not a 64-bit little-endian ELF file, a section
// table outside the file, or a section without a name ends the search with false.
bool FindDebugDirectory(const RecordFile& file, DebugDirectory& found, DirectorySearchLog* log);

// Where the file's ".qvcalls" section (the inlined calls) lies: its file offset and size.
// False when the file has none.
bool FindInlinedCallSection(const RecordFile& file, std::uint64_t& offset, std::uint64_t& size);

}  // namespace crash
