#include "crash/records/symbol_lookup.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>

namespace crash {
namespace {

constexpr std::uint8_t kProcedureKind = 5;

void Say(LookupLog* log, const char* what) {
  if (log) log->Step(what);
}

}  // namespace

bool SymbolLookup::UseRecords(const RecordFile& file, std::uint32_t offset, std::uint32_t size) {
  Forget();
  return records_.Use(file, offset, size);
}

bool SymbolLookup::UseRecords(const char* path, std::uint32_t offset, std::uint32_t size) {
  RecordFile file;
  return file.Open(path) ? UseRecords(file, offset, size) : (Forget(), false);
}

void SymbolLookup::Forget() {
  records_.Forget();
  headerLoaded_ = false;
  procedureBlock_.base = lineBlock_.base = moduleNameBlock_.base = -1;
  symbolAt_ = -1;
}

bool SymbolLookup::LoadHeader() {
  if (headerLoaded_) return true;
  if (!records_.Read(0, header_, sizeof header_) || std::memcmp(header_, "QVDB", 4) != 0) return false;
  auto field = [&](int at) { return ReadU32(header_ + at); };
  moduleNames_ = {field(8), field(4), 4};
  moduleNamePool_ = field(12);
  lines_ = {field(28), field(24), 8};
  stringPool_ = field(32);
  symbolArea_ = field(44);
  procedures_ = {field(52), field(48), 8};
  // Every table must lie inside the records (a damaged or foreign file is "not found").
  for (const Table* table : {&moduleNames_, &lines_, &procedures_}) {
    if (std::uint64_t{table->offset} + std::uint64_t{table->count} * table->entrySize > records_.Size()) return false;
  }
  if (moduleNamePool_ > records_.Size() || stringPool_ > records_.Size() || symbolArea_ > records_.Size()) return false;
  procedureBlock_.base = lineBlock_.base = moduleNameBlock_.base = -1;
  symbolAt_ = -1;
  headerLoaded_ = true;
  return true;
}

bool SymbolLookup::LoadBlock(const Table& table, Block& block, std::uint32_t number) {
  if (block.base == number) return true;
  std::uint64_t first = std::uint64_t{number} * kBlockEntries;
  std::uint32_t count = static_cast<std::uint32_t>(std::min<std::uint64_t>(kBlockEntries, table.count - first));
  block.base = -1;
  if (!records_.Read(table.offset + first * table.entrySize, block.bytes, count * table.entrySize)) return false;
  block.hasNext = first + count < table.count;
  unsigned char next[4];
  if (block.hasNext && !records_.Read(table.offset + (first + count) * table.entrySize, next, 4)) return false;
  block.nextFirstRva = block.hasNext ? ReadU32(next) : 0;
  block.count = count;
  block.base = number;
  return true;
}

std::int64_t SymbolLookup::Covering(const Table& table, Block& block, std::uint32_t rva,
                                    const unsigned char** entry) {
  if (table.count == 0) return -1;
  auto rvaOf = [&](std::uint32_t i) { return ReadU32(block.bytes + i * table.entrySize); };
  bool heldCovers = block.base >= 0 && rvaOf(0) <= rva && (!block.hasNext || rva < block.nextFirstRva);
  if (!heldCovers) {
    // The last block whose first entry is not above the rva, found by reading first entries.
    std::uint32_t blocks = (table.count + kBlockEntries - 1) / kBlockEntries;
    std::uint32_t low = 0, high = blocks;  // answer in [low, high)
    unsigned char word[4];
    if (!records_.Read(table.offset, word, 4)) return -1;
    if (ReadU32(word) > rva) return -1;
    while (high - low > 1) {
      std::uint32_t middle = low + (high - low) / 2;
      if (!records_.Read(table.offset + std::uint64_t{middle} * kBlockEntries * table.entrySize, word, 4)) return -1;
      if (ReadU32(word) <= rva) low = middle;
      else high = middle;
    }
    if (!LoadBlock(table, block, low)) return -1;
  }
  // Within the block: the last entry whose rva is not above the one sought. Entries of equal
  // rva cover nothing but the last of them.
  std::uint32_t low = 0, high = block.count;
  while (high - low > 1) {
    std::uint32_t middle = low + (high - low) / 2;
    if (rvaOf(middle) <= rva) low = middle;
    else high = middle;
  }
  if (rvaOf(low) > rva) return -1;
  *entry = block.bytes + low * table.entrySize;
  return static_cast<std::int64_t>(block.base) * kBlockEntries + low;
}

bool SymbolLookup::ReadName(std::uint32_t pool, std::uint32_t at, char (&name)[kNameLength + 1]) {
  return records_.ReadName(std::uint64_t{pool} + at, name);
}

bool SymbolLookup::FindProcedure(std::uint32_t rva, SymbolAnswer& answer, LookupLog* log) {
  Say(log, "GetSymbol, FindProc Start");
  const unsigned char* entry = nullptr;
  answer.noProcFound = true;
  if (Covering(procedures_, procedureBlock_, rva, &entry) < 0) return true;
  Say(log, "GetSymbol, ProcFound Start");
  std::uint32_t indexRva = ReadU32(entry), recordAt = ReadU32(entry + 4);
  std::uint64_t at = std::uint64_t{symbolArea_} + recordAt;
  if (at + 13 > records_.Size()) return false;
  if (symbolAt_ != static_cast<std::int64_t>(at)) {
    // The window reaches 425 bytes, or to the end of the records, whichever is first.
    std::size_t count = static_cast<std::size_t>(std::min<std::uint64_t>(kSymbolWindow, records_.Size() - at));
    std::memset(symbol_, 0, sizeof symbol_);
    symbolAt_ = -1;
    if (!records_.Read(at, symbol_, count)) return false;
    symbolAt_ = static_cast<std::int64_t>(at);
    procName_[0] = '\0';
    if (symbol_[0] == kProcedureKind && !ReadName(stringPool_, ReadU32(symbol_ + 5), procName_)) {
      symbolAt_ = -1;
      return false;
    }
  }
  std::uint32_t kind = symbol_[0], size = ReadU32(symbol_ + 1), recordRva = ReadU32(symbol_ + 9);
  if (recordRva != indexRva) return false;
  if (kind == kProcedureKind && rva - recordRva < size) {
    answer.noProcFound = false;
    answer.procName = procName_;
  }
  return true;
}

bool SymbolLookup::FindLine(std::uint32_t rva, SymbolAnswer& answer, LookupLog* log) {
  Say(log, "GetSymbol, FindLine Start");
  const unsigned char* entry = nullptr;
  if (Covering(lines_, lineBlock_, rva, &entry) < 0) {
    answer.noLineNumber = true;
    return true;
  }
  Say(log, "GetSymbol, LineFound Start");
  std::uint32_t lineRva = ReadU32(entry), module = ReadU16(entry + 6);
  answer.line = ReadU16(entry + 4);
  answer.exactAddress = answer.noProcFound && rva == lineRva;
  if (!SourceName(module, sourceName_)) return false;
  answer.sourceName = sourceName_;
  return true;
}

bool SymbolLookup::SourceName(std::uint32_t index, char (&name)[kNameLength + 1]) {
  if (!records_.IsOpen() || !LoadHeader()) return false;
  if (index >= moduleNames_.count || !LoadBlock(moduleNames_, moduleNameBlock_, index / kBlockEntries)) return false;
  std::uint32_t nameAt = ReadU32(moduleNameBlock_.bytes + (index % kBlockEntries) * 4);
  return ReadName(moduleNamePool_, nameAt, name);
}

SymbolAnswer SymbolLookup::Find(std::uint32_t rva, LookupLog* log) {
  SymbolAnswer answer;
  if (!records_.IsOpen() || !LoadHeader()) return answer;
  answer.kind = SymbolAnswer::Kind::SymbolTableError;
  if (!FindProcedure(rva, answer, log) || !FindLine(rva, answer, log)) return answer;
  answer.kind = SymbolAnswer::Kind::Resolved;
  return answer;
}

}  // namespace crash
