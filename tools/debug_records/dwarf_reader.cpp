#include "dwarf_reader.h"

#include <cxxabi.h>
#include <dwarf.h>
#include <elfutils/libdw.h>
#include <fcntl.h>
#include <gelf.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <memory>
#include <stdexcept>
#include <unordered_map>

namespace {

struct FileCloser {
  int fd;
  ~FileCloser() { ::close(fd); }
};

struct CodeLayout {
  // Addresses in the records count from the lowest loaded page, which is where the module's
  // handle points at run time (for a position-independent program that is address 0).
  Dwarf_Addr base = ~Dwarf_Addr{0};
  // The executable segments: code the linker dropped keeps DWARF at address 0, outside them.
  std::vector<std::pair<Dwarf_Addr, Dwarf_Addr>> code;

  bool IsCode(Dwarf_Addr address) const {
    for (const auto& [start, end] : code)
      if (address >= start && address < end) return true;
    return false;
  }
};

CodeLayout ReadLayout(Elf* elf) {
  std::size_t count = 0;
  if (elf_getphdrnum(elf, &count) != 0) throw std::runtime_error("no program headers");
  CodeLayout layout;
  for (std::size_t i = 0; i < count; ++i) {
    GElf_Phdr header;
    if (gelf_getphdr(elf, static_cast<int>(i), &header) == nullptr || header.p_type != PT_LOAD) continue;
    layout.base = std::min<Dwarf_Addr>(layout.base, header.p_vaddr & ~Dwarf_Addr{0xFFF});
    if (header.p_flags & PF_X) layout.code.emplace_back(header.p_vaddr, header.p_vaddr + header.p_memsz);
  }
  if (layout.code.empty()) throw std::runtime_error("no loadable code");
  return layout;
}

// "a/b/../c/./d" -> "a/c/d"; a leading ".." that cannot be resolved stays.
std::string Normalised(const std::string& path) {
  std::vector<std::string> parts;
  std::size_t at = 0;
  while (at <= path.size()) {
    std::size_t slash = path.find('/', at);
    if (slash == std::string::npos) slash = path.size();
    std::string part = path.substr(at, slash - at);
    if (part == "..") {
      if (!parts.empty() && parts.back() != "..") parts.pop_back();
      else parts.push_back(part);
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    at = slash + 1;
  }
  std::string result = path.starts_with('/') ? "/" : "";
  for (std::size_t i = 0; i < parts.size(); ++i) result += (i ? "/" : "") + parts[i];
  return result;
}

// The die that declares a definition: followed through its abstract-origin and declaration links.
Dwarf_Die Declaration(Dwarf_Die* die) {
  Dwarf_Die current = *die;
  for (int hops = 0; hops < 8; ++hops) {
    Dwarf_Attribute attribute;
    Dwarf_Die next;
    if (dwarf_attr(&current, DW_AT_abstract_origin, &attribute) == nullptr &&
        dwarf_attr(&current, DW_AT_specification, &attribute) == nullptr)
      break;
    if (dwarf_formref_die(&attribute, &next) == nullptr) break;
    current = next;
  }
  return current;
}

// "ns::Type::Method(int) const" -> "ns::Type::Method": the parameter list is the last
// balanced parenthesis group.
std::string WithoutParameters(std::string name) {
  std::size_t close = name.rfind(')');
  if (close == std::string::npos) return name;
  int depth = 0;
  for (std::size_t i = close + 1; i-- > 0;) {
    if (name[i] == ')') ++depth;
    if (name[i] == '(' && --depth == 0) return name.substr(0, i);
  }
  return name;
}

// The linkage name without its parameters, or "" when the procedure has none.
std::string DemangledName(Dwarf_Die* die) {
  Dwarf_Attribute attribute;
  for (int code : {DW_AT_linkage_name, DW_AT_MIPS_linkage_name}) {
    if (const char* mangled = dwarf_formstring(dwarf_attr_integrate(die, code, &attribute))) {
      int status = 0;
      std::unique_ptr<char, decltype(&std::free)> plain(
          abi::__cxa_demangle(mangled, nullptr, nullptr, &status), &std::free);
      if (status == 0 && plain) return WithoutParameters(plain.get());
      return mangled;
    }
  }
  return "";
}

// A scope's part of a qualified name: "ns::", "Type::".
std::string ScopePart(Dwarf_Die* die, int tag) {
  const char* name = dwarf_diename(die);
  return std::string(name != nullptr ? name : tag == DW_TAG_namespace ? "(anonymous namespace)" : "{unnamed}") + "::";
}

class Reader {
 public:
  Reader(CodeLayout layout, const std::string& sourceRoot)
      : layout_(std::move(layout)), root_(sourceRoot.empty() ? "" : Normalised(sourceRoot) + "/") {}

  void ReadUnit(Dwarf_Die* unit) {
    Dwarf_Attribute attribute;
    const char* directory = dwarf_formstring(dwarf_attr(unit, DW_AT_comp_dir, &attribute));
    unitDirectory_ = directory != nullptr ? directory : "";
    std::size_t fileCount = 0;
    if (dwarf_getsrcfiles(unit, &files_, &fileCount) != 0) files_ = nullptr;
    ReadLines(unit);
    Dwarf_Die child;
    if (dwarf_child(unit, &child) == 0) ReadProcedures(&child, "");
    // Constructors, destructors and lambdas carry no linkage name of their own: they are
    // named by the scopes of their declaration, which may come later in the unit.
    for (auto& [index, declaration, name] : unqualified_) {
      auto scope = scopeOf_.find(declaration);
      info_.procedures[index].name = scope != scopeOf_.end() ? scope->second + name : name;
    }
    for (auto& [index, declaration, name] : unqualifiedCalls_) {
      auto scope = scopeOf_.find(declaration);
      info_.inlinedCalls[index].name = scope != scopeOf_.end() ? scope->second + name : name;
    }
    unqualified_.clear();
    unqualifiedCalls_.clear();
    scopeOf_.clear();
  }

  DebugInfo Finish() {
    auto byRva = [](const auto& a, const auto& b) { return a.rva < b.rva; };
    std::stable_sort(info_.procedures.begin(), info_.procedures.end(), byRva);
    // One procedure per address: the first one read (a second is an alias of the same code).
    info_.procedures.erase(std::unique(info_.procedures.begin(), info_.procedures.end(),
                                       [](const auto& a, const auto& b) { return a.rva == b.rva; }),
                           info_.procedures.end());
    std::stable_sort(info_.lines.begin(), info_.lines.end(), byRva);
    // Where several rows start at one address, the last one that begins a line is the line
    // that runs there (as a debugger names it), else the last one.
    std::vector<LineRow> lines;
    for (const LineRow& row : info_.lines) {
      if (lines.empty() || lines.back().rva != row.rva) lines.push_back(row);
      else if (row.statement || !lines.back().statement) lines.back() = row;
    }
    info_.lines = std::move(lines);
    FlattenInlinedCalls();
    return std::move(info_);
  }

 private:
  bool Rva(Dwarf_Addr address, std::uint32_t& rva) const {
    if (!layout_.IsCode(address) || address - layout_.base > 0xFFFFFFFFu) return false;
    rva = static_cast<std::uint32_t>(address - layout_.base);
    return true;
  }

  std::uint32_t ModuleIndex(const char* path) {
    std::string name = path[0] == '/' || unitDirectory_.empty() ? Normalised(path)
                                                                 : Normalised(unitDirectory_ + "/" + path);
    if (!root_.empty() && name.compare(0, root_.size(), root_) == 0) name.erase(0, root_.size());
    auto [it, added] = moduleIndex_.try_emplace(name, info_.modules.size());
    if (added) info_.modules.push_back(name);
    return it->second;
  }

  void ReadLines(Dwarf_Die* unit) {
    Dwarf_Lines* lines = nullptr;
    std::size_t count = 0;
    if (dwarf_getsrclines(unit, &lines, &count) != 0) return;
    for (std::size_t i = 0; i < count; ++i) {
      Dwarf_Line* line = dwarf_onesrcline(lines, i);
      Dwarf_Addr address;
      int number = 0;
      bool end = false, statement = true;
      if (line == nullptr || dwarf_lineaddr(line, &address) != 0 || dwarf_lineno(line, &number) != 0 ||
          dwarf_lineendsequence(line, &end) != 0 || dwarf_linebeginstatement(line, &statement) != 0)
        continue;
      // End markers and line 0 (code made by the compiler) name no source line.
      const char* file = dwarf_linesrc(line, nullptr, nullptr);
      std::uint32_t rva;
      if (end || number <= 0 || file == nullptr || !Rva(address, rva)) continue;
      info_.lines.push_back({rva, static_cast<std::uint32_t>(number), ModuleIndex(file), statement});
    }
  }

  void ReadProcedures(Dwarf_Die* die, const std::string& scope) {
    do {
      int tag = dwarf_tag(die);
      if (tag == DW_TAG_subprogram) {
        if (dwarf_hasattr(die, DW_AT_declaration)) scopeOf_.emplace(dwarf_dieoffset(die), scope);
        else if (AddProcedure(die)) ReadInlinedCalls(die, -1, 0);
      }
      // Inlined copies are part of their caller's code, not procedures of their own: the
      // calls are recorded apart, under the procedure they were inlined into.
      Dwarf_Die child;
      if (tag == DW_TAG_inlined_subroutine || dwarf_child(die, &child) != 0) continue;
      bool names = tag == DW_TAG_namespace || tag == DW_TAG_class_type || tag == DW_TAG_structure_type ||
                   tag == DW_TAG_union_type;
      ReadProcedures(&child, names ? scope + ScopePart(die, tag) : scope);
    } while (dwarf_siblingof(die, die) == 0);
  }

  // The inlined calls below a procedure's or an inlined call's die, through lexical blocks.
  void ReadInlinedCalls(Dwarf_Die* die, std::int64_t parent, int depth) {
    Dwarf_Die child;
    if (depth > kMostInlinedDepth || dwarf_child(die, &child) != 0) return;
    do {
      int tag = dwarf_tag(&child);
      if (tag == DW_TAG_lexical_block) {
        ReadInlinedCalls(&child, parent, depth);
      } else if (tag == DW_TAG_inlined_subroutine) {
        std::int64_t call = AddInlinedCall(&child, parent, depth);
        ReadInlinedCalls(&child, call < 0 ? parent : call, call < 0 ? depth : depth + 1);
      }
    } while (dwarf_siblingof(&child, &child) == 0);
  }

  std::int64_t AddInlinedCall(Dwarf_Die* die, std::int64_t parent, int depth) {
    Dwarf_Attribute attribute;
    Dwarf_Word fileIndex = 0, line = 0;
    if (dwarf_formudata(dwarf_attr(die, DW_AT_call_file, &attribute), &fileIndex) != 0 ||
        dwarf_formudata(dwarf_attr(die, DW_AT_call_line, &attribute), &line) != 0 || files_ == nullptr)
      return -1;
    const char* file = dwarf_filesrc(files_, fileIndex, nullptr, nullptr);
    if (file == nullptr) return -1;
    const auto index = static_cast<std::int64_t>(info_.inlinedCalls.size());
    InlinedCall call{parent, DemangledName(die), static_cast<std::uint32_t>(line), ModuleIndex(file)};
    if (call.name.empty()) {
      const char* plain = dwarf_formstring(dwarf_attr_integrate(die, DW_AT_name, &attribute));
      Dwarf_Die declaration = Declaration(die);
      unqualifiedCalls_.push_back({static_cast<std::size_t>(index), dwarf_dieoffset(&declaration), plain ? plain : ""});
    }
    info_.inlinedCalls.push_back(std::move(call));
    Dwarf_Addr base, start, end;
    for (std::ptrdiff_t offset = 0; (offset = dwarf_ranges(die, offset, &base, &start, &end)) > 0;) {
      std::uint32_t rva;
      if (end > start && end - start <= 0xFFFFFFFFu && Rva(start, rva))
        pieces_.push_back(
            {rva, rva + static_cast<std::uint32_t>(end - start), depth, static_cast<std::uint32_t>(index)});
    }
    return index;
  }

  bool AddProcedure(Dwarf_Die* die) {
    bool added = false;
    Dwarf_Addr base, start, end;
    std::ptrdiff_t offset = 0;
    // Optimised code may come in several parts (a hot and a cold one); each is a procedure range.
    while ((offset = dwarf_ranges(die, offset, &base, &start, &end)) > 0) {
      std::uint32_t rva;
      if (end <= start || end - start > 0xFFFFFFFFu || !Rva(start, rva)) continue;
      std::string name = DemangledName(die);
      if (name.empty()) {
        Dwarf_Attribute attribute;
        const char* plain = dwarf_formstring(dwarf_attr_integrate(die, DW_AT_name, &attribute));
        Dwarf_Die declaration = Declaration(die);
        unqualified_.push_back({info_.procedures.size(), dwarf_dieoffset(&declaration), plain ? plain : ""});
      }
      info_.procedures.push_back({rva, static_cast<std::uint32_t>(end - start), name});
      added = true;
    }
    return added;
  }

  // Inlined calls nest: each address gets the deepest call whose code holds it, in ranges of
  // their own. Deeper pieces are laid over shallower ones.
  void FlattenInlinedCalls() {
    std::stable_sort(pieces_.begin(), pieces_.end(), [](const Piece& a, const Piece& b) { return a.depth < b.depth; });
    constexpr std::uint32_t kNone = ~0u;
    std::map<std::uint32_t, std::uint32_t> from;  // start of a stretch -> call, or kNone
    auto split = [&](std::uint32_t at) {
      auto next = from.upper_bound(at);
      std::uint32_t value = next == from.begin() ? kNone : std::prev(next)->second;
      from.emplace(at, value);
    };
    for (const Piece& piece : pieces_) {
      split(piece.rva);
      split(piece.end);
      for (auto it = from.find(piece.rva); it->first != piece.end; ++it) it->second = piece.call;
    }
    for (auto it = from.begin(); it != from.end(); ++it) {
      auto next = std::next(it);
      if (it->second == kNone || next == from.end()) continue;
      if (!info_.inlinedRanges.empty() && info_.inlinedRanges.back().end == it->first &&
          info_.inlinedRanges.back().call == it->second)
        info_.inlinedRanges.back().end = next->first;
      else
        info_.inlinedRanges.push_back({it->first, next->first, it->second});
    }
    pieces_.clear();
  }

  static constexpr int kMostInlinedDepth = 64;
  struct Piece {
    std::uint32_t rva, end;
    int depth;
    std::uint32_t call;
  };
  std::vector<Piece> pieces_;
  Dwarf_Files* files_ = nullptr;

  CodeLayout layout_;
  std::string root_;
  std::string unitDirectory_;
  std::unordered_map<Dwarf_Off, std::string> scopeOf_;  // subprogram declarations: their scope prefix
  struct Unqualified {
    std::size_t index;
    Dwarf_Off declaration;
    std::string name;
  };
  std::vector<Unqualified> unqualified_;
  std::vector<Unqualified> unqualifiedCalls_;
  DebugInfo info_;
  std::map<std::string, std::uint32_t> moduleIndex_;
};

}  // namespace

DebugInfo ReadDebugInfo(const std::string& programPath, const std::string& sourceRoot) {
  int fd = ::open(programPath.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) throw std::runtime_error("cannot open " + programPath);
  FileCloser closer{fd};
  Dwarf* dwarf = dwarf_begin(fd, DWARF_C_READ);
  if (dwarf == nullptr) throw std::runtime_error(programPath + " has no DWARF debug information");
  std::unique_ptr<Dwarf, decltype(&dwarf_end)> owner(dwarf, &dwarf_end);

  Reader reader(ReadLayout(dwarf_getelf(dwarf)), sourceRoot);
  Dwarf_Off offset = 0, next = 0;
  std::size_t headerSize = 0;
  while (dwarf_nextcu(dwarf, offset, &next, &headerSize, nullptr, nullptr, nullptr) == 0) {
    Dwarf_Die unit;
    if (dwarf_offdie(dwarf, offset + headerSize, &unit) != nullptr) reader.ReadUnit(&unit);
    offset = next;
  }
  DebugInfo info = reader.Finish();
  if (info.procedures.empty()) throw std::runtime_error(programPath + " has no procedures in its DWARF");
  return info;
}
