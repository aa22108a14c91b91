#pragma once
// Debug records written by hand, byte for byte as the reporter reads them, for the edge cases a
// real program does not reliably give (block edges, damaged offsets).
#include <cstdint>
#include <string>
#include <vector>

struct SyntheticProcedure {
  std::uint32_t rva, size;
  std::string name;
};
struct SyntheticLine {
  std::uint32_t rva;
  std::uint16_t line, module;
};

struct SyntheticRecords {
  std::vector<SyntheticProcedure> procedures;
  std::vector<SyntheticLine> lines;
  std::vector<std::string> modules;

  // The records image; `prefix` bytes of padding come first (the records' file offset).
  std::vector<std::uint8_t> Image() const;
  // Header field offsets, for tests that damage one.
  static constexpr int kProcedureCount = 48, kProcedureIndex = 52, kLineCount = 24, kSymbolArea = 44;
};

// Writes bytes into a file of the test's folder and returns its path.
std::string WriteFile(const std::string& name, const std::vector<std::uint8_t>& bytes);
void PutU32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value);
std::uint32_t GetU32(const std::vector<std::uint8_t>& bytes, std::size_t at);
