#include "platform/win/modules/exported_symbols.h"

#include <elf.h>

#include <cstring>

namespace win {
namespace {

// The loader rewrites the dynamic section's addresses to where it mapped them; a read-only one
// keeps the file's.
const void* Mapped(ElfW(Addr) value, std::uintptr_t loadBias, std::uintptr_t base, std::uintptr_t end) {
  if (value >= base && value < end) return reinterpret_cast<const void*>(value);
  std::uintptr_t moved = value + loadBias;
  return moved >= base && moved < end ? reinterpret_cast<const void*>(moved) : nullptr;
}

bool Inside(const void* from, std::size_t bytes, std::uintptr_t base, std::uintptr_t end) {
  auto at = reinterpret_cast<std::uintptr_t>(from);
  return at >= base && at <= end && bytes <= end - at;
}

// The number of symbols of a GNU hash table: past the highest bucket's chain end.
std::size_t CountFromGnuHash(const std::uint32_t* table, std::uintptr_t base, std::uintptr_t end) {
  if (!Inside(table, 16, base, end)) return 0;
  const std::uint32_t buckets = table[0], offset = table[1], bloomWords = table[2];
  const auto* bucket = table + 4 + bloomWords * (sizeof(ElfW(Addr)) / 4);
  if (!Inside(bucket, std::size_t{buckets} * 4, base, end)) return 0;
  std::uint32_t last = 0;
  for (std::uint32_t i = 0; i < buckets; ++i) last = bucket[i] > last ? bucket[i] : last;
  if (last < offset) return offset;
  const std::uint32_t* chain = bucket + buckets;
  for (;; ++last) {
    const std::uint32_t* link = chain + (last - offset);
    if (!Inside(link, 4, base, end)) return 0;
    if (*link & 1) return last + 1;
  }
}

}  // namespace

ExportedSymbols ReadExportedSymbols(const dl_phdr_info& info, std::uintptr_t base, std::uintptr_t end) {
  const ElfW(Dyn)* dynamic = nullptr;
  for (int i = 0; i < info.dlpi_phnum; ++i)
    if (info.dlpi_phdr[i].p_type == PT_DYNAMIC)
      dynamic = reinterpret_cast<const ElfW(Dyn)*>(info.dlpi_addr + info.dlpi_phdr[i].p_vaddr);
  ExportedSymbols exports;
  if (dynamic == nullptr || !Inside(dynamic, sizeof *dynamic, base, end)) return exports;
  const void *symbols = nullptr, *names = nullptr, *hash = nullptr, *gnuHash = nullptr;
  std::size_t namesSize = 0;
  for (const ElfW(Dyn)* entry = dynamic; Inside(entry, sizeof *entry, base, end) && entry->d_tag != DT_NULL; ++entry) {
    const ElfW(Addr) value = entry->d_un.d_ptr;
    switch (entry->d_tag) {
      case DT_SYMTAB: symbols = Mapped(value, info.dlpi_addr, base, end); break;
      case DT_STRTAB: names = Mapped(value, info.dlpi_addr, base, end); break;
      case DT_STRSZ: namesSize = entry->d_un.d_val; break;
      case DT_HASH: hash = Mapped(value, info.dlpi_addr, base, end); break;
      case DT_GNU_HASH: gnuHash = Mapped(value, info.dlpi_addr, base, end); break;
      default: break;
    }
  }
  if (symbols == nullptr || names == nullptr || !Inside(names, namesSize, base, end)) return exports;
  std::size_t count = 0;
  if (hash != nullptr && Inside(hash, 8, base, end)) count = static_cast<const std::uint32_t*>(hash)[1];
  else if (gnuHash != nullptr) count = CountFromGnuHash(static_cast<const std::uint32_t*>(gnuHash), base, end);
  if (count == 0 || !Inside(symbols, count * sizeof(ElfW(Sym)), base, end)) return exports;
  exports = {static_cast<const ElfW(Sym)*>(symbols), count, static_cast<const char*>(names), namesSize};
  return exports;
}

bool FindNearestSymbol(const ExportedSymbols& exports, std::uintptr_t loadBias, std::uintptr_t address,
                       NearestSymbol& nearest) {
  bool found = false;
  for (std::size_t i = 0; i < exports.count; ++i) {
    const ElfW(Sym)& symbol = exports.symbols[i];
    const unsigned type = ELF64_ST_TYPE(symbol.st_info);
    if (symbol.st_shndx == SHN_UNDEF || (type != STT_FUNC && type != STT_GNU_IFUNC)) continue;
    if (symbol.st_name >= exports.namesSize ||
        memchr(exports.names + symbol.st_name, '\0', exports.namesSize - symbol.st_name) == nullptr)
      continue;
    const std::uintptr_t start = loadBias + symbol.st_value;
    if (start > address || (found && start <= nearest.address)) continue;
    nearest = {exports.names + symbol.st_name, start};
    found = true;
  }
  return found;
}

}  // namespace win
