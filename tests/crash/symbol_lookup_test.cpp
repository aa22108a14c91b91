#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "crash/records/symbol_lookup.h"
#include "synthetic_records.h"

namespace {

using Kind = crash::SymbolAnswer::Kind;

// 2500 procedures of 16 bytes, each followed by a 16-byte gap; 2000 lines (a multiple of the
// block size) of 16 bytes each from the first procedure on; three source files.
SyntheticRecords Records() {
  SyntheticRecords records;
  for (std::uint32_t i = 0; i < 2500; ++i)
    records.procedures.push_back({0x1000 + i * 0x20, 0x10, "P" + std::to_string(i)});
  for (std::uint32_t i = 0; i < 2000; ++i)
    records.lines.push_back({0x1000 + i * 0x10, static_cast<std::uint16_t>(i + 1), static_cast<std::uint16_t>(i % 3)});
  records.modules = {"app/a.cpp", "app/b.cpp", "toolkit/c.cpp"};
  return records;
}

class Lookup : public ::testing::Test {
 protected:
  void Use(const std::vector<std::uint8_t>& image, std::uint32_t prefix = 64) {
    // The records between bytes that are not theirs, before and after.
    std::vector<std::uint8_t> file(prefix + image.size() + 32, 0xEE);
    std::copy(image.begin(), image.end(), file.begin() + prefix);
    ASSERT_TRUE(lookup_.UseRecords(WriteFile("records.bin", file).c_str(), prefix,
                                   static_cast<std::uint32_t>(image.size())));
  }
  crash::SymbolAnswer Find(std::uint32_t rva) { return lookup_.Find(rva); }

  crash::SymbolLookup lookup_;
};

struct Expected {
  std::uint32_t rva;
  const char* proc;  // nullptr: no procedure
  int line;          // 0: no line
  const char* source;
  bool exact;
};

TEST_F(Lookup, ProceduresLinesAndTheirEdges) {
  Use(Records().Image());
  const Expected cases[] = {
      {0x1000, "P0", 1, "app/a.cpp", false},                 // first byte of the first procedure
      {0x100F, "P0", 1, "app/a.cpp", false},                 // its last byte
      {0x1010, nullptr, 2, "app/b.cpp", true},               // the gap after it, at a line's start
      {0x1011, nullptr, 2, "app/b.cpp", false},              // inside the gap
      {0x1000 + 999 * 0x20 + 5, "P999", 1999, "app/a.cpp", false},   // last entry of block 0
      {0x1000 + 1000 * 0x20, "P1000", 2000, "app/b.cpp", false},     // first entry of block 1
      {0x1000 + 999 * 0x10 + 0xF, nullptr, 1000, "app/a.cpp", false},  // last line of block 0
      {0x1000 + 2499 * 0x20 + 0xF, "P2499", 2000, "app/b.cpp", false},  // beyond the last line
      {0x1000 + 2499 * 0x20 + 0x10, nullptr, 2000, "app/b.cpp", false}, // beyond the last procedure
      {0x0FFF, nullptr, 0, nullptr, false},                  // before everything
  };
  // Twice, in order and back again, so held blocks are both reused and replaced.
  for (int round = 0; round < 2; ++round) {
    for (std::size_t n = 0; n < std::size(cases); ++n) {
      const Expected& c = cases[round == 0 ? n : std::size(cases) - 1 - n];
      crash::SymbolAnswer answer = Find(c.rva);
      SCOPED_TRACE(::testing::Message() << std::hex << c.rva);
      ASSERT_EQ(answer.kind, Kind::Resolved);
      EXPECT_EQ(answer.noProcFound, c.proc == nullptr);
      if (c.proc) {
        EXPECT_STREQ(answer.procName, c.proc);
      }
      EXPECT_EQ(answer.noLineNumber, c.line == 0);
      if (c.line) {
        EXPECT_EQ(answer.line, static_cast<std::uint32_t>(c.line));
        EXPECT_STREQ(answer.sourceName, c.source);
      }
      EXPECT_EQ(answer.exactAddress, c.exact);
    }
  }
}

TEST_F(Lookup, CountsOfWholeBlocksNeedNoEmptyBlock) {
  SyntheticRecords records = Records();
  records.procedures.resize(1000);
  records.lines.resize(1000);
  Use(records.Image());
  crash::SymbolAnswer answer = Find(0x1000 + 999 * 0x20 + 3);
  ASSERT_EQ(answer.kind, Kind::Resolved);
  EXPECT_STREQ(answer.procName, "P999");
  EXPECT_EQ(answer.line, 1000u);
}

TEST_F(Lookup, DamagedRecordsAreNotFoundOrATableErrorAndNeverReadBeyond) {
  struct Damage {
    const char* what;
    std::size_t at;        // header field (or symbol record byte when >= 1000: area + at - 1000)
    std::uint32_t value;
    Kind kind;
  };
  const Damage damages[] = {
      {"tag", 0, 0x42445658, Kind::RecordsNotFound},
      {"procedure count beyond the records", SyntheticRecords::kProcedureCount, 0x10000000, Kind::RecordsNotFound},
      {"procedure index beyond the records", SyntheticRecords::kProcedureIndex, 0xFFFFFFF0, Kind::RecordsNotFound},
      {"line count beyond the records", SyntheticRecords::kLineCount, 2001 * 100, Kind::RecordsNotFound},
      {"symbol area beyond the records", SyntheticRecords::kSymbolArea, 0xFFFFFF00, Kind::RecordsNotFound},
      {"record rva differs from the index", 1000 + 9, 0x1234, Kind::SymbolTableError},
      {"name beyond the string pool", 1000 + 5, 0x7FFFFFF0, Kind::SymbolTableError},
  };
  for (const auto& damage : damages) {
    SCOPED_TRACE(damage.what);
    std::vector<std::uint8_t> image = Records().Image();
    std::size_t at = damage.at < 1000 ? damage.at : GetU32(image, 44) + damage.at - 1000;
    PutU32(image, at, damage.value);
    Use(image);
    EXPECT_EQ(Find(0x1000).kind, damage.kind);
  }
}

TEST_F(Lookup, EntriesPointingOutsideTheirTablesAreTableErrors) {
  SyntheticRecords records = Records();
  records.lines[0].module = 3;  // only three source files
  std::vector<std::uint8_t> image = records.Image();
  PutU32(image, GetU32(image, 52) + 4 * 8 + 4, 0xFFFFFF00);  // procedure 4's record offset
  Use(image);
  EXPECT_EQ(Find(0x1000).kind, Kind::SymbolTableError);
  EXPECT_EQ(Find(0x1000 + 4 * 0x20).kind, Kind::SymbolTableError);
  EXPECT_EQ(Find(0x1000 + 5 * 0x20).kind, Kind::Resolved);
}

TEST_F(Lookup, StateStaysSmallWhateverTheRecordsSize) {
  static_assert(sizeof(crash::SymbolLookup) < 32 * 1024);
  crash::SymbolLookup unused;
  EXPECT_EQ(unused.Find(0x1000).kind, Kind::RecordsNotFound) << "no records in use";
  EXPECT_FALSE(unused.UseRecords("no-such-file", 0, 100));
}

}  // namespace
