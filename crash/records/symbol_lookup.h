#pragma once
// The look-up of an address in a module's debug records (procedure, source line, source file),
// with bounded memory: the 56-byte header, at most one block of 1000 entries of each index, one
// symbol record window and one name of each kind, whatever the size of the records. Blocks stay
// for the next look-up in the same records. No allocation: usable in a signal handler.
#include <cstdint>

#include "crash/records/record_file.h"

namespace crash {

inline constexpr std::uint32_t kBlockEntries = 1000;
inline constexpr std::size_t kSymbolWindow = 425;
inline constexpr std::size_t kNameLength = 255;

struct SymbolAnswer {
  enum class Kind { Resolved, RecordsNotFound, SymbolTableError };
  Kind kind = Kind::RecordsNotFound;
  bool noProcFound = false;
  bool noLineNumber = false;
  bool exactAddress = false;  // no procedure, but the address starts a line
  std::uint32_t line = 0;
  const char* procName = "";    // valid until the next look-up
  const char* sourceName = "";
};

// Steps of a look-up, for the trace log.
class LookupLog {
 public:
  virtual void Step(const char* what) = 0;

 protected:
  ~LookupLog() = default;
};

class SymbolLookup {
 public:
  // Makes the records at `offset` (`size` bytes) of the file the ones in use (the lookup keeps a
  // descriptor of its own); the header is read again at the next look-up. False when the file
  // cannot be opened.
  bool UseRecords(const RecordFile& file, std::uint32_t offset, std::uint32_t size);
  bool UseRecords(const char* path, std::uint32_t offset, std::uint32_t size);
  // Forgets the records in use (the next UseRecords reads everything anew).
  void Forget();

  // The procedure and line of an rva (address minus the module's handle). Records whose
  // header or tables lie outside them answer RecordsNotFound; an entry pointing outside its
  // table answers SymbolTableError. Never reads beyond the records.
  SymbolAnswer Find(std::uint32_t rva, LookupLog* log = nullptr);
  // The name of source file `index` of the records in use; false when there is none.
  bool SourceName(std::uint32_t index, char (&name)[kNameLength + 1]);

 private:
  struct Table {
    std::uint32_t offset = 0, count = 0, entrySize = 0;
  };
  struct Block {
    std::int64_t base = -1;      // block number held, -1 none
    std::uint32_t count = 0;     // entries in it
    bool hasNext = false;        // a further block follows; its first rva:
    std::uint32_t nextFirstRva = 0;
    unsigned char bytes[kBlockEntries * 8];
  };

  bool LoadHeader();
  bool LoadBlock(const Table& table, Block& block, std::uint32_t number);
  // The entry covering the rva (the last whose rva is not above it), or -1; its bytes in *entry.
  std::int64_t Covering(const Table& table, Block& block, std::uint32_t rva, const unsigned char** entry);
  bool ReadName(std::uint32_t pool, std::uint32_t at, char (&name)[kNameLength + 1]);
  bool FindProcedure(std::uint32_t rva, SymbolAnswer& answer, LookupLog* log);
  bool FindLine(std::uint32_t rva, SymbolAnswer& answer, LookupLog* log);

  RecordSpan records_;
  bool headerLoaded_ = false;
  unsigned char header_[56] = {};
  Table procedures_, lines_, moduleNames_;
  std::uint32_t symbolArea_ = 0, stringPool_ = 0, moduleNamePool_ = 0;
  Block procedureBlock_, lineBlock_, moduleNameBlock_;
  std::int64_t symbolAt_ = -1;  // records offset of the symbol window held
  unsigned char symbol_[kSymbolWindow] = {};
  char procName_[kNameLength + 1] = {};
  char sourceName_[kNameLength + 1] = {};
};

}  // namespace crash
