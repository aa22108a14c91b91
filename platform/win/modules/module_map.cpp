#include "platform/win/modules/module_map.h"

#include <link.h>
#include <unistd.h>

#include <atomic>
#include <climits>
#include <cstring>
#include <mutex>

#include "platform/win/modules/elf_notes.h"

namespace win {
namespace {

constexpr std::size_t kMaxModules = 256;
constexpr std::size_t kMostPath = 4096;          // any Linux path
constexpr std::size_t kPathPool = 256 * 1024;    // the paths of a whole snapshot

struct Entry {
  std::uintptr_t base, end, loadBias;
  std::size_t pathAt;  // in the snapshot's pool
  BuildId buildId;
  ExportedSymbols exports;
};

// Two copies: a new snapshot is written into the one nobody reads and then published, so a
// reader (a signal handler included) always sees a whole list.
struct Snapshot {
  std::size_t count = 0;
  unsigned long long loads = 0, unloads = 0;  // the loader's counters when it was taken
  Entry entries[kMaxModules];
  std::size_t poolUsed = 0;
  char pool[kPathPool];  // NUL-ended paths; a path that does not fit is empty
};
Snapshot gCopies[2];
std::atomic<Snapshot*> gCurrent{nullptr};
std::mutex gWriter;

// The program's own path, read once: later snapshots would read "... (deleted)" after the
// file was removed, or the name of whatever replaced it.
char gProgramPath[kMostPath + 1];
std::once_flag gProgramPathRead;

void ReadProgramPath() {
  ssize_t n = ::readlink("/proc/self/exe", gProgramPath, kMostPath + 1);
  gProgramPath[n > 0 && static_cast<std::size_t>(n) <= kMostPath ? n : 0] = '\0';
}

// The path goes into the pool whole, or not at all (the module then has no name).
std::size_t AddPath(Snapshot& snapshot, const char* path) {
  constexpr std::size_t kNoPath = kPathPool - 1;  // the pool's last byte, always NUL
  std::size_t n = strnlen(path, kMostPath + 1);
  if (n > kMostPath || n + 1 > kNoPath - snapshot.poolUsed) {
    snapshot.pool[kNoPath] = '\0';
    return kNoPath;
  }
  std::size_t at = snapshot.poolUsed;
  std::memcpy(snapshot.pool + at, path, n);
  snapshot.pool[at + n] = '\0';
  snapshot.poolUsed += n + 1;
  return at;
}

// The build id the loaded image carries in its note segments.
BuildId LoadedBuildId(const dl_phdr_info& info) {
  BuildId id;
  for (int i = 0; i < info.dlpi_phnum; ++i) {
    const ElfW(Phdr)& segment = info.dlpi_phdr[i];
    if (segment.p_type != PT_NOTE) continue;
    const auto* notes = reinterpret_cast<const unsigned char*>(info.dlpi_addr + segment.p_vaddr);
    // The notes are the bytes the file gave the segment; memory beyond them holds none.
    const std::uint64_t size = std::min<std::uint64_t>(segment.p_filesz, segment.p_memsz);
    if (FindBuildId(NotesInMemory(notes, size), size, segment.p_align, id)) break;
  }
  return id;
}

int AddModule(dl_phdr_info* info, std::size_t, void* data) {
  auto* snapshot = static_cast<Snapshot*>(data);
  snapshot->loads = info->dlpi_adds;
  snapshot->unloads = info->dlpi_subs;
  if (snapshot->count == kMaxModules) return 1;
  if (snapshot->count == 0) snapshot->poolUsed = 0;
  std::uintptr_t low = UINTPTR_MAX, high = 0;
  for (int i = 0; i < info->dlpi_phnum; ++i) {
    const ElfW(Phdr)& segment = info->dlpi_phdr[i];
    if (segment.p_type != PT_LOAD) continue;
    low = std::min<std::uintptr_t>(low, segment.p_vaddr & ~std::uintptr_t{0xFFF});
    high = std::max<std::uintptr_t>(high, segment.p_vaddr + segment.p_memsz);
  }
  if (high == 0) return 0;
  Entry& entry = snapshot->entries[snapshot->count];
  entry.base = info->dlpi_addr + low;
  entry.end = info->dlpi_addr + high;
  entry.loadBias = info->dlpi_addr;
  entry.buildId = LoadedBuildId(*info);
  entry.exports = ReadExportedSymbols(*info, entry.base, entry.end);
  // The loader names the program itself "".
  if (snapshot->count == 0 && info->dlpi_name[0] == '\0') {
    std::call_once(gProgramPathRead, ReadProgramPath);
    entry.pathAt = AddPath(*snapshot, gProgramPath);
  } else {
    entry.pathAt = AddPath(*snapshot, info->dlpi_name);
  }
  ++snapshot->count;
  return 0;
}

const Snapshot& Current() {
  Snapshot* current = gCurrent.load(std::memory_order_acquire);
  if (current == nullptr) {
    TakeModuleSnapshot();
    current = gCurrent.load(std::memory_order_acquire);
  }
  return *current;
}

int ReadCounters(dl_phdr_info* info, std::size_t, void* data) {
  auto* counters = static_cast<unsigned long long*>(data);
  counters[0] = info->dlpi_adds;
  counters[1] = info->dlpi_subs;
  return 1;  // the first module tells them
}

// A library the loader took in or let go since the snapshot (loaded by another library, not
// through LoadLibraryA) makes a new snapshot. The loader's lock is recursive, so a fault
// inside the loader does not block this; a snapshot being written elsewhere is not waited for.
bool RefreshIfLoaderChanged() {
  const Snapshot* current = gCurrent.load(std::memory_order_acquire);
  unsigned long long counters[2] = {0, 0};
  dl_iterate_phdr(ReadCounters, counters);
  if (current != nullptr && counters[0] == current->loads && counters[1] == current->unloads) return false;
  std::unique_lock lock(gWriter, std::try_to_lock);
  if (!lock.owns_lock()) return false;
  Snapshot* next = gCurrent.load() == &gCopies[0] ? &gCopies[1] : &gCopies[0];
  next->count = 0;
  dl_iterate_phdr(AddModule, next);
  gCurrent.store(next, std::memory_order_release);
  return true;
}

void Fill(const Snapshot& snapshot, const Entry& entry, LoadedModule& module) {
  module = {entry.base, entry.end, entry.loadBias, snapshot.pool + entry.pathAt, &entry.buildId, &entry.exports};
}

}  // namespace

void TakeModuleSnapshot() {
  std::lock_guard lock(gWriter);
  Snapshot* next = gCurrent.load() == &gCopies[0] ? &gCopies[1] : &gCopies[0];
  next->count = 0;
  dl_iterate_phdr(AddModule, next);
  gCurrent.store(next, std::memory_order_release);
}

bool FindModuleOfAddress(std::uintptr_t address, LoadedModule& module) {
  for (int attempt = 0; attempt < 2; ++attempt) {
    const Snapshot& snapshot = Current();
    for (std::size_t i = 0; i < snapshot.count; ++i) {
      const Entry& entry = snapshot.entries[i];
      if (address >= entry.base && address < entry.end) {
        Fill(snapshot, entry, module);
        return true;
      }
    }
    if (attempt == 0 && !RefreshIfLoaderChanged()) break;
  }
  return false;
}

bool FindModuleOfHandle(std::uintptr_t handle, LoadedModule& module) {
  const Snapshot& snapshot = Current();
  for (std::size_t i = 0; i < snapshot.count; ++i) {
    if (snapshot.entries[i].base == handle) {
      Fill(snapshot, snapshot.entries[i], module);
      return true;
    }
  }
  return false;
}

bool ProgramModule(LoadedModule& module) {
  const Snapshot& snapshot = Current();
  if (snapshot.count == 0) return false;
  Fill(snapshot, snapshot.entries[0], module);
  return true;
}

}  // namespace win
