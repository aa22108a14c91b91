#pragma once
// Reads the procedures (each code range of each function), the line table and the source-file
// names of a linked program from its DWARF.
#include <string>

#include "debug_info.h"

// sourceRoot: file names below it are written relative to it. Throws std::runtime_error
// with a readable reason when the file has no usable DWARF.
DebugInfo ReadDebugInfo(const std::string& programPath, const std::string& sourceRoot);
