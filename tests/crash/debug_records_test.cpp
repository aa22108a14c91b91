// The build's debug records of a small program, read back here independently of the reporter's
// reader (with libelf and libdw as the truth), and then through the reporter's look-up.
#include <cxxabi.h>
#include <dwarf.h>
#include <elfutils/libdw.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <gelf.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "crash/records/debug_directory.h"
#include "crash/records/file_build_id.h"
#include "crash/records/inlined_calls.h"
#include "crash/records/symbol_lookup.h"
#include "synthetic_records.h"
#include "tests/support/child_program.h"

namespace {

const std::string kSource = "tests/crash/sample/sample_program.cpp";

std::vector<std::uint8_t> FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

struct ElfFacts {
  std::uint64_t base = ~0ull;                   // lowest loaded page
  std::uint32_t directoryOffset = 0;            // file offset of the .qvdebug section
  std::uint64_t recordsOffset = 0;              // ... and of the .qvrecs section
  std::string buildId;                          // the description of the build-id note
  std::map<std::string, GElf_Sym> functions;    // demangled names of the symbol table
};

ElfFacts ReadElf(const std::string& path) {
  ElfFacts facts;
  elf_version(EV_CURRENT);
  int fd = open(path.c_str(), O_RDONLY);
  Elf* elf = elf_begin(fd, ELF_C_READ, nullptr);
  std::size_t phnum = 0, names = 0;
  elf_getphdrnum(elf, &phnum);
  for (std::size_t i = 0; i < phnum; ++i) {
    GElf_Phdr ph;
    if (gelf_getphdr(elf, static_cast<int>(i), &ph) && ph.p_type == PT_LOAD)
      facts.base = std::min<std::uint64_t>(facts.base, ph.p_vaddr & ~0xFFFull);
  }
  elf_getshdrstrndx(elf, &names);
  for (Elf_Scn* scn = nullptr; (scn = elf_nextscn(elf, scn));) {
    GElf_Shdr sh;
    gelf_getshdr(scn, &sh);
    std::string name = elf_strptr(elf, names, sh.sh_name);
    if (name == ".qvdebug") facts.directoryOffset = static_cast<std::uint32_t>(sh.sh_offset);
    if (name == ".qvrecs") facts.recordsOffset = sh.sh_offset;
    if (name == ".note.gnu.build-id") {
      Elf_Data* data = elf_getdata(scn, nullptr);
      GElf_Nhdr note;
      std::size_t nameAt, descAt;
      if (gelf_getnote(data, 0, &note, &nameAt, &descAt) > 0)
        facts.buildId.assign(static_cast<const char*>(data->d_buf) + descAt, note.n_descsz);
    }
    if (sh.sh_type != SHT_SYMTAB) continue;
    Elf_Data* data = elf_getdata(scn, nullptr);
    for (std::size_t i = 0; i < sh.sh_size / sh.sh_entsize; ++i) {
      GElf_Sym sym;
      gelf_getsym(data, static_cast<int>(i), &sym);
      if (GELF_ST_TYPE(sym.st_info) != STT_FUNC || sym.st_size == 0) continue;
      const char* mangled = elf_strptr(elf, sh.sh_link, sym.st_name);
      int status = 0;
      char* plain = abi::__cxa_demangle(mangled, nullptr, nullptr, &status);
      std::string readable = status == 0 ? plain : mangled;
      std::free(plain);
      facts.functions.emplace(readable.substr(0, readable.find('(')), sym);
    }
  }
  elf_end(elf);
  close(fd);
  return facts;
}

// The last line row at each address of the sample's own source file, from its DWARF.
std::map<std::uint64_t, int> SourceLines(const std::string& path) {
  std::map<std::uint64_t, int> lines;
  int fd = open(path.c_str(), O_RDONLY);
  Dwarf* dwarf = dwarf_begin(fd, DWARF_C_READ);
  Dwarf_Off offset = 0, next;
  std::size_t headerSize;
  while (dwarf_nextcu(dwarf, offset, &next, &headerSize, nullptr, nullptr, nullptr) == 0) {
    Dwarf_Die unit;
    Dwarf_Lines* rows;
    std::size_t count;
    if (dwarf_offdie(dwarf, offset + headerSize, &unit) && dwarf_getsrclines(&unit, &rows, &count) == 0) {
      for (std::size_t i = 0; i < count; ++i) {
        Dwarf_Line* row = dwarf_onesrcline(rows, i);
        Dwarf_Addr address;
        int line;
        bool end;
        dwarf_lineaddr(row, &address);
        dwarf_lineno(row, &line);
        dwarf_lineendsequence(row, &end);
        std::string file = dwarf_linesrc(row, nullptr, nullptr);
        if (end || line == 0 || !file.ends_with("sample_program.cpp")) continue;
        lines[address] = line;
      }
    }
    offset = next;
  }
  dwarf_end(dwarf);
  close(fd);
  return lines;
}

TEST(DebugRecords, TheBuildWritesTheLayoutTheReporterReads) {
  const std::vector<std::uint8_t> file = FileBytes(SAMPLE_PROGRAM);
  const ElfFacts elf = ReadElf(SAMPLE_PROGRAM);
  ASSERT_NE(elf.directoryOffset, 0u) << "no .qvdebug section";
  ASSERT_EQ(std::string(file.begin() + elf.directoryOffset + 12, file.begin() + elf.directoryOffset + 16), "QVDB");
  std::uint32_t size = GetU32(file, elf.directoryOffset + 16), offset = GetU32(file, elf.directoryOffset + 24);
  ASSERT_LE(std::uint64_t{offset} + size, file.size());
  std::vector<std::uint8_t> records(file.begin() + offset, file.begin() + offset + size);

  // The reporter's own search finds the same entry.
  crash::RecordFile opened;
  ASSERT_TRUE(opened.Open(SAMPLE_PROGRAM));
  crash::DebugDirectory directory;
  ASSERT_TRUE(crash::FindDebugDirectory(opened, directory, nullptr));
  EXPECT_EQ(directory.offset, offset);
  EXPECT_EQ(directory.size, size);

  ASSERT_EQ(std::string(records.begin(), records.begin() + 4), "QVDB");
  auto field = [&](int at) { return GetU32(records, at); };
  auto name = [&](std::uint32_t at) { return std::string(reinterpret_cast<const char*>(records.data() + at)); };
  std::uint32_t modules = field(4), lines = field(24), procedures = field(48);
  ASSERT_GT(modules, 0u);
  ASSERT_GT(lines, 0u);
  ASSERT_GT(procedures, 0u);
  EXPECT_LE(field(8) + 4ull * modules, size);
  EXPECT_LE(field(28) + 8ull * lines, size);
  EXPECT_LE(field(52) + 8ull * procedures, size);

  std::set<std::string> sources;
  for (std::uint32_t i = 0; i < modules; ++i) sources.insert(name(field(12) + GetU32(records, field(8) + 4 * i)));
  EXPECT_TRUE(sources.contains(kSource)) << "source files are named from the project's folder";

  std::set<std::string> names;
  for (std::uint32_t i = 0; i < procedures; ++i) {
    std::uint32_t rva = GetU32(records, field(52) + 8 * i), at = field(44) + GetU32(records, field(52) + 8 * i + 4);
    if (i > 0) {
      EXPECT_LE(GetU32(records, field(52) + 8 * (i - 1)), rva) << "procedure index sorted";
    }
    EXPECT_EQ(records[at], 5) << "a procedure record";
    EXPECT_EQ(GetU32(records, at + 9), rva) << "record and index agree";
    names.insert(name(field(32) + GetU32(records, at + 5)));
  }
  for (std::uint32_t i = 1; i < lines; ++i)
    EXPECT_LT(GetU32(records, field(28) + 8 * (i - 1)), GetU32(records, field(28) + 8 * i)) << "line index sorted";
  for (const char* procedure : {"sample::Square", "sample::Counter::Add", "sample::Counter::~Counter",
                                "sample::SumOfSquares", "Halve", "main"})
    EXPECT_TRUE(names.contains(procedure)) << procedure;
}

// The sample's records, located and in use, as the reporter reads them.
class SampleRecords : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(opened.Open(SAMPLE_PROGRAM));
    crash::DebugDirectory directory;
    ASSERT_TRUE(crash::FindDebugDirectory(opened, directory, nullptr));
    ASSERT_TRUE(lookup.UseRecords(SAMPLE_PROGRAM, directory.offset, directory.size));
  }

  const ElfFacts elf = ReadElf(SAMPLE_PROGRAM);
  crash::RecordFile opened;
  crash::SymbolLookup lookup;
};

TEST_F(SampleRecords, EveryProcedureAndLineOfTheProgramResolves) {

  int checked = 0;
  for (const auto& [procedure, symbol] : elf.functions) {
    if (!procedure.starts_with("sample::") && procedure != "Halve" && procedure != "main") continue;
    auto first = static_cast<std::uint32_t>(symbol.st_value - elf.base);
    for (std::uint32_t rva : {first, first + static_cast<std::uint32_t>(symbol.st_size) - 1}) {
      crash::SymbolAnswer answer = lookup.Find(rva);
      ASSERT_EQ(answer.kind, crash::SymbolAnswer::Kind::Resolved) << procedure;
      EXPECT_FALSE(answer.noProcFound) << procedure << " at " << rva;
      EXPECT_EQ(std::string(answer.procName), procedure) << rva;
      EXPECT_EQ(std::string(answer.sourceName), kSource) << procedure;
    }
    ++checked;
  }
  EXPECT_GE(checked, 6);

  const auto lines = SourceLines(SAMPLE_PROGRAM);
  ASSERT_FALSE(lines.empty());
  for (const auto& [address, line] : lines) {
    crash::SymbolAnswer answer = lookup.Find(static_cast<std::uint32_t>(address - elf.base));
    ASSERT_EQ(answer.kind, crash::SymbolAnswer::Kind::Resolved);
    EXPECT_EQ(answer.line, static_cast<std::uint32_t>(line)) << std::hex << address;
    EXPECT_EQ(std::string(answer.sourceName), kSource);
  }
}

// The line of the sample's source that carries `marker`.
std::uint32_t SampleLine(const std::string& marker) {
  const auto source = std::filesystem::path(__FILE__).parent_path() / "sample" / "sample_program.cpp";
  std::ifstream in(source);
  std::string line;
  for (std::uint32_t number = 1; std::getline(in, line); ++number)
    if (line.find(marker) != std::string::npos) return number;
  ADD_FAILURE() << "no line with " << marker << " in " << source;
  return 0;
}

// Twice is inlined into Quadruple, and Quadruple into SumOfSquares: every address of Twice's line
// has both calls, each with the line that calls it, the outermost first.
TEST_F(SampleRecords, InlinedCodeLeadsFromItsProcedureThroughEachCall) {
  std::uint64_t at = 0, size = 0;
  ASSERT_TRUE(crash::FindInlinedCallSection(opened, at, size));
  crash::InlinedCallLookup calls;
  ASSERT_TRUE(calls.Use(opened, at, size));

  const std::uint32_t twice = SampleLine("// Twice's line"), quadruple = SampleLine("// Quadruple's call"),
                      sum = SampleLine("// SumOfSquares's call");
  int checked = 0;
  for (const auto& [address, line] : SourceLines(SAMPLE_PROGRAM)) {
    if (static_cast<std::uint32_t>(line) != twice) continue;
    const auto rva = static_cast<std::uint32_t>(address - elf.base);
    EXPECT_STREQ(lookup.Find(rva).procName, "sample::SumOfSquares");
    crash::InlinedChain chain;
    ASSERT_TRUE(calls.Find(rva, chain)) << std::hex << address;
    ASSERT_EQ(chain.count, 2u);
    const struct {
      const char* name;
      std::uint32_t line;
    } expected[] = {{"sample::Quadruple", sum}, {"sample::Twice", quadruple}};
    for (std::size_t i = 0; i < 2; ++i) {
      EXPECT_STREQ(chain.calls[i].name, expected[i].name);
      EXPECT_EQ(chain.calls[i].callLine, expected[i].line) << expected[i].name;
      char source[crash::kNameLength + 1];
      ASSERT_TRUE(lookup.SourceName(chain.calls[i].callSource, source));
      EXPECT_EQ(std::string(source), kSource);
    }
    ++checked;
  }
  EXPECT_GE(checked, 1);
  // Outside the inlined code: no call.
  crash::InlinedChain chain;
  const auto& main = elf.functions.at("main");
  EXPECT_FALSE(calls.Find(static_cast<std::uint32_t>(main.st_value - elf.base), chain));
  EXPECT_EQ(chain.count, 0u);
}

// A section of inlined calls as the build lays it out: one range [100h, 200h) whose innermost
// call is the last of `depth` calls, each lying in the one before ("call0" the outermost, called
// at line 10, "call1" at line 11, ...).
std::vector<std::uint8_t> InlinedCallSection(std::uint32_t depth) {
  std::vector<std::uint8_t> bytes(20 + 12 + 16 * depth);
  std::string names;
  const std::uint32_t calls = 32, pool = calls + 16 * depth;
  for (std::uint32_t i = 0; i < depth; ++i) {
    PutU32(bytes, calls + 16 * i, static_cast<std::uint32_t>(names.size()));
    PutU32(bytes, calls + 16 * i + 4, 10 + i);
    PutU32(bytes, calls + 16 * i + 8, 0);
    PutU32(bytes, calls + 16 * i + 12, i == 0 ? 0xFFFFFFFF : i - 1);
    names += "call" + std::to_string(i) + '\0';
  }
  bytes.insert(bytes.end(), names.begin(), names.end());
  const std::uint32_t header[] = {0, 1, 20, calls, pool, 0x100, 0x200, depth - 1};
  for (std::uint32_t i = 1; i < std::size(header); ++i) PutU32(bytes, 4 * i, header[i]);
  std::memcpy(bytes.data(), "QVIC", 4);
  return bytes;
}

// The chain's calls by name and line, as "call0:10 call1:11".
std::string ChainText(const crash::InlinedChain& chain) {
  std::string text;
  for (std::size_t i = 0; i < chain.count; ++i)
    text += (i ? " " : "") + std::string(chain.calls[i].name) + ":" + std::to_string(chain.calls[i].callLine);
  return text;
}

// A damaged section of inlined calls gives no call rather than a wrong one or a read past it;
// a chain deeper than the look-up keeps shows its outermost call and the innermost ones.
TEST(DebugRecords, InlinedCallsWholeDeepOrDamaged) {
  struct Case {
    const char* what;
    std::uint32_t depth;
    std::size_t at;  // a byte changed, 0 for none
    std::uint8_t value;
    std::uint32_t rva;
    std::string chain;
  } cases[] = {
      {"whole", 2, 0, 0, 0x150, "call0:10 call1:11"},
      {"the range's first byte", 1, 0, 0, 0x100, "call0:10"},
      {"one past the range's end", 2, 0, 0, 0x200, ""},
      {"below every range", 2, 0, 0, 0x50, ""},
      {"deeper than kept", 20, 0, 0, 0x150,
       "call0:10 call9:19 call10:20 call11:21 call12:22 call13:23 call14:24 call15:25 call16:26 call17:27 "
       "call18:28 call19:29"},
      {"a foreign tag", 2, 1, 'X', 0x150, ""},
      {"more ranges than the section holds", 2, 5, 1, 0x150, ""},
      {"an innermost call outside the table", 2, 28, 0x40, 0x150, ""},
      {"a call lying in one outside the table", 2, 60, 0x40, 0x150, ""},
      {"a call lying in itself", 2, 60, 1, 0x150, ""},
      {"a name outside the section", 2, 48, 0xF0, 0x150, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<std::uint8_t> bytes = InlinedCallSection(c.depth);
    if (c.at != 0) bytes[c.at] = c.value;
    crash::RecordFile file;
    ASSERT_TRUE(file.Open(WriteFile("calls", bytes).c_str()));
    crash::InlinedCallLookup calls;
    ASSERT_TRUE(calls.Use(file, 0, bytes.size()));
    crash::InlinedChain chain;
    EXPECT_EQ(calls.Find(c.rva, chain), !c.chain.empty());
    EXPECT_EQ(ChainText(chain), c.chain);
  }
}

TEST(DebugRecords, AProgramWithoutOrWithDamagedRecordsIsNotFound) {
  std::vector<std::uint8_t> file = FileBytes(SAMPLE_PROGRAM);
  const ElfFacts elf = ReadElf(SAMPLE_PROGRAM);
  std::uint32_t offset = GetU32(file, elf.directoryOffset + 24), size = GetU32(file, elf.directoryOffset + 16);

  std::string stripped = WriteFile("stripped", file);
  ASSERT_EQ(test_support::RunChild({OBJCOPY, "--remove-section=.qvdebug", stripped}).status, 0);
  crash::RecordFile opened;
  crash::DebugDirectory directory;
  ASSERT_TRUE(opened.Open(stripped.c_str()));
  EXPECT_FALSE(crash::FindDebugDirectory(opened, directory, nullptr));

  file[elf.directoryOffset + 12] = 'X';  // the entry's type
  ASSERT_TRUE(opened.Open(WriteFile("foreign-entry", file).c_str()));
  EXPECT_FALSE(crash::FindDebugDirectory(opened, directory, nullptr));

  file[elf.directoryOffset + 12] = 'Q';
  file[offset] = 'X';  // the records' tag
  crash::SymbolLookup lookup;
  ASSERT_TRUE(lookup.UseRecords(WriteFile("damaged-records", file).c_str(), offset, size));
  const auto& main = elf.functions.at("main");
  EXPECT_EQ(lookup.Find(static_cast<std::uint32_t>(main.st_value - elf.base)).kind,
            crash::SymbolAnswer::Kind::RecordsNotFound);

  ASSERT_TRUE(opened.Open(WriteFile("not-elf", {'n', 'o', 't', ' ', 'e', 'l', 'f'}).c_str()));
  EXPECT_FALSE(crash::FindDebugDirectory(opened, directory, nullptr));
}

// strip and packaging tools rewrite the file and move its sections, the records' among them;
// the entry still holds the offset the build wrote, and the records are found where they went.
TEST(DebugRecords, AStrippedCopyKeepsItsRecordsWhereverStripMovedThem) {
  const std::string stripped = "stripped";
  ASSERT_EQ(test_support::RunChild({STRIP, "-o", stripped, SAMPLE_PROGRAM}).status, 0);
  const ElfFacts copy = ReadElf(stripped);
  const std::vector<std::uint8_t> file = FileBytes(stripped);
  ASSERT_NE(copy.recordsOffset, 0u) << "strip keeps the records' section";
  ASSERT_NE(GetU32(file, copy.directoryOffset + 24), copy.recordsOffset) << "strip moved it";

  crash::RecordFile opened;
  ASSERT_TRUE(opened.Open(stripped.c_str()));
  crash::DebugDirectory directory;
  ASSERT_TRUE(crash::FindDebugDirectory(opened, directory, nullptr));
  EXPECT_EQ(directory.offset, copy.recordsOffset);
  crash::SymbolLookup lookup;
  ASSERT_TRUE(lookup.UseRecords(opened, directory.offset, directory.size));
  const ElfFacts original = ReadElf(SAMPLE_PROGRAM);
  const auto& main = original.functions.at("main");
  crash::SymbolAnswer answer = lookup.Find(static_cast<std::uint32_t>(main.st_value - original.base));
  ASSERT_EQ(answer.kind, crash::SymbolAnswer::Kind::Resolved);
  EXPECT_EQ(std::string(answer.procName), "main");
}

TEST(DebugRecords, AFilesBuildIdIsTheOneItsNoteHolds) {
  ASSERT_EQ(test_support::RunChild({STRIP, "-o", "stripped", SAMPLE_PROGRAM}).status, 0);
  for (const std::string& path : {std::string(SAMPLE_PROGRAM), std::string("stripped")}) {
    SCOPED_TRACE(path);
    const ElfFacts elf = ReadElf(path);
    ASSERT_EQ(elf.buildId.size(), 20u) << "the build gives every program a build id";
    crash::RecordFile file;
    ASSERT_TRUE(file.Open(path.c_str()));
    win::BuildId id;
    ASSERT_TRUE(crash::ReadFileBuildId(file, id));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(id.bytes), id.size), elf.buildId);
  }
  crash::RecordFile notElf;
  ASSERT_TRUE(notElf.Open(WriteFile("not-elf", {'n', 'o', 't', ' ', 'e', 'l', 'f'}).c_str()));
  win::BuildId id;
  EXPECT_FALSE(crash::ReadFileBuildId(notElf, id));
}

// Whatever stands at a module's path is read only when it is a regular file, and opening it
// never waits: a FIFO with no writer would hold a report up for ever.
TEST(DebugRecords, OnlyRegularFilesAreOpenedAndNothingIsWaitedFor) {
  ASSERT_EQ(mkfifo("fifo", 0600), 0);
  std::filesystem::create_directory("folder");
  const std::vector<std::pair<std::string, bool>> cases = {
      {SAMPLE_PROGRAM, true}, {"fifo", false}, {"folder", false}, {"/dev/null", false}, {"missing", false}};
  for (const auto& [path, opens] : cases) {
    crash::RecordFile file;
    EXPECT_EQ(file.Open(path.c_str()), opens) << path;
    EXPECT_EQ(file.IsOpen(), opens) << path;
  }
}

}  // namespace
