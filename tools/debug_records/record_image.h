#pragma once
// The debug records as the crash reporter reads them: a 56-byte header, the procedure index,
// the line index, the module-name offsets, the module line ranges, the (empty) type table,
// the symbol records, the string pool and the module-name pool; every number little-endian,
// every offset counted from the start of the records.
#include <cstdint>
#include <vector>

#include "debug_info.h"

std::vector<std::uint8_t> BuildRecordImage(const DebugInfo& info);

// The inlined calls, beside the records in a section of their own: a 20-byte header (tag "QVIC",
// range count, offsets of the range table, the call table and the name pool), the ranges (rva,
// end, innermost call; sorted, never overlapping), the calls (16 bytes: name offset, line of the
// call, source index into the records' module names, the call it lies in or FFFFFFFFh) and the
// names.
std::vector<std::uint8_t> BuildInlinedCallImage(const DebugInfo& info);

// The 28-byte debug-directory entry that announces records of `size` bytes at file offset
// `offset`: type "QVDB", SizeOfData, PointerToRawData.
std::vector<std::uint8_t> BuildDebugDirectory(std::uint32_t offset, std::uint32_t size);
