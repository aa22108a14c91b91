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
  bool statement = true;     // a row the compiler marks as a line's beginning, as debuggers show
};

// A call the compiler inlined: the callee, and where in its caller the call stands.
struct InlinedCall {
  std::int64_t parent = -1;  // the inlined call it lies in, or -1 (it lies in a procedure)
  std::string name;          // the callee
  std::uint32_t callLine = 0;
  std::uint32_t callModule = 0;  // index into DebugInfo::modules
};

// Code of an inlined call, none of it inside a deeper one (ranges never overlap).
struct InlinedRange {
  std::uint32_t rva = 0;
  std::uint32_t end = 0;    // one past the last byte
  std::uint32_t call = 0;   // index into DebugInfo::inlinedCalls: the innermost call there
};

struct DebugInfo {
  std::vector<ProcedureRange> procedures;
  std::vector<LineRow> lines;
  std::vector<std::string> modules;  // source-file names
  std::vector<InlinedCall> inlinedCalls;
  std::vector<InlinedRange> inlinedRanges;  // sorted by rva
};
