#include "platform/win/module_map.h"

#include <link.h>
#include <unistd.h>

#include <atomic>
#include <climits>
#include <cstring>
#include <mutex>

namespace win {
namespace {

constexpr std::size_t kMaxModules = 256;
constexpr std::size_t kMaxPath = 1024;

struct Entry {
  std::uintptr_t base, end, loadBias;
  char path[kMaxPath];
};

// Two copies: a new snapshot is written into the one nobody reads and then published, so a
// reader (a signal handler included) always sees a whole list.
struct Snapshot {
  std::size_t count = 0;
  unsigned long long loads = 0, unloads = 0;  // the loader's counters when it was taken
  Entry entries[kMaxModules];
};
Snapshot gCopies[2];
std::atomic<Snapshot*> gCurrent{nullptr};
std::mutex gWriter;

void CopyPath(char (&to)[kMaxPath], const char* from) {
  std::size_t n = std::strlen(from);
  if (n >= kMaxPath) n = kMaxPath - 1;
  std::memcpy(to, from, n);
  to[n] = '\0';
}

int AddModule(dl_phdr_info* info, std::size_t, void* data) {
  auto* snapshot = static_cast<Snapshot*>(data);
  snapshot->loads = info->dlpi_adds;
  snapshot->unloads = info->dlpi_subs;
  if (snapshot->count == kMaxModules) return 1;
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
  // The loader names the program itself "".
  if (snapshot->count == 0 && info->dlpi_name[0] == '\0') {
    ssize_t n = ::readlink("/proc/self/exe", entry.path, kMaxPath - 1);
    entry.path[n < 0 ? 0 : n] = '\0';
  } else {
    CopyPath(entry.path, info->dlpi_name);
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

void Fill(const Entry& entry, LoadedModule& module) {
  module = {entry.base, entry.end, entry.loadBias, entry.path};
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
        Fill(entry, module);
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
      Fill(snapshot.entries[i], module);
      return true;
    }
  }
  return false;
}

bool ProgramModule(LoadedModule& module) {
  const Snapshot& snapshot = Current();
  if (snapshot.count == 0) return false;
  Fill(snapshot.entries[0], module);
  return true;
}

}  // namespace win
