#include "synthetic_records.h"

#include <fstream>

namespace {
void U32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
void U16(std::vector<std::uint8_t>& out, std::uint16_t v) {
  out.push_back(v & 0xFF);
  out.push_back(v >> 8);
}
}  // namespace

void PutU32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}
std::uint32_t GetU32(const std::vector<std::uint8_t>& bytes, std::size_t at) {
  return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | std::uint32_t{bytes[at + 3]} << 24;
}

std::vector<std::uint8_t> SyntheticRecords::Image() const {
  std::vector<std::uint8_t> out(56, 0);
  std::vector<std::uint8_t> pool, modulePool, symbols;
  std::uint32_t procIndex = static_cast<std::uint32_t>(out.size());
  for (const auto& p : procedures) {
    U32(out, p.rva);
    U32(out, static_cast<std::uint32_t>(symbols.size()));
    // A record of 20 bytes: kind, size, name offset, rva, one field the reader skips.
    symbols.push_back(5);
    U32(symbols, p.size);
    U32(symbols, static_cast<std::uint32_t>(pool.size()));
    U32(symbols, p.rva);
    U32(symbols, 0xDEADBEEF);
    symbols.resize(symbols.size() + 3);
    pool.insert(pool.end(), p.name.begin(), p.name.end());
    pool.push_back(0);
  }
  std::uint32_t lineIndex = static_cast<std::uint32_t>(out.size());
  for (const auto& l : lines) {
    U32(out, l.rva);
    U16(out, l.line);
    U16(out, l.module);
  }
  std::uint32_t moduleOffsets = static_cast<std::uint32_t>(out.size());
  for (const auto& m : modules) {
    U32(out, static_cast<std::uint32_t>(modulePool.size()));
    modulePool.insert(modulePool.end(), m.begin(), m.end());
    modulePool.push_back(0);
  }
  std::uint32_t symbolArea = static_cast<std::uint32_t>(out.size());
  out.insert(out.end(), symbols.begin(), symbols.end());
  std::uint32_t stringPool = static_cast<std::uint32_t>(out.size());
  out.insert(out.end(), pool.begin(), pool.end());
  std::uint32_t moduleNamePool = static_cast<std::uint32_t>(out.size());
  out.insert(out.end(), modulePool.begin(), modulePool.end());
  out[0] = 'Q', out[1] = 'V', out[2] = 'D', out[3] = 'B';
  PutU32(out, 4, static_cast<std::uint32_t>(modules.size()));
  PutU32(out, 8, moduleOffsets);
  PutU32(out, 12, moduleNamePool);
  PutU32(out, 24, static_cast<std::uint32_t>(lines.size()));
  PutU32(out, 28, lineIndex);
  PutU32(out, 32, stringPool);
  PutU32(out, 44, symbolArea);
  PutU32(out, 48, static_cast<std::uint32_t>(procedures.size()));
  PutU32(out, 52, procIndex);
  return out;
}

std::string WriteFile(const std::string& name, const std::vector<std::uint8_t>& bytes) {
  std::ofstream(name, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                              static_cast<std::streamsize>(bytes.size()));
  return name;
}
