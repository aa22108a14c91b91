#pragma once
// What the debug records hold, as read from a program's DWARF.
#include <cstdint>
#include <string>
#include <vector>

struct ProcedureRange {
  std::uint32_t rva = 0;   // first byte, relative to the program's lowest mapped address
  std::uint32_t size = 0;  // bytes of code
  std::string name;        // readable C++ name without parameters: "MainWindow::TakeAccepted"
};

struct LineRow {
  std::uint32_t rva = 0;    // first instruction of the line
  std::uint32_t line = 0;
  std::uint32_t module = 0; // index into DebugInfo::modules
};

struct DebugInfo {
  std::vector<ProcedureRange> procedures;
  std::vector<LineRow> lines;
  std::vector<std::string> modules;  // source-file names
};
