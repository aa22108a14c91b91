#pragma once
// Placing the debug records in the program file: a section ".qvrecs" of their own (so strip and
// objcopy keep them whole) and the ".qvdebug" section holding the one debug-directory entry
// that points at their file offset; the inlined calls go in ".qvcalls" beside them.
#include <cstdint>
#include <string>
#include <vector>

// Replaces any records the program already carries. Throws std::runtime_error on failure.
void PlaceRecords(const std::string& programPath, const std::string& objcopy,
                  const std::vector<std::uint8_t>& records, const std::vector<std::uint8_t>& inlinedCalls);
