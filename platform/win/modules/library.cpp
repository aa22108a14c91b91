#include "platform/win/modules/library.h"

#include <dlfcn.h>

#include <map>
#include <mutex>
#include <string>
#include <string_view>

#include "platform/win/modules/debug_help.h"
#include "platform/win/modules/file_version.h"
#include "platform/win/modules/module_handle.h"
#include "platform/win/modules/module_map.h"
#include "platform/win/system/ascii_text.h"
#include "platform/win/system/last_error.h"
#include "platform/win/system/socket_library.h"
#include "platform/win/windows/session_notification.h"

namespace {

struct LoadedModule {
  const char* providerKey = nullptr;  // set for an in-process library
  void* dlHandle = nullptr;           // set for a shared library
  int references = 0;
};

std::mutex gLock;
std::map<std::uintptr_t, LoadedModule> gModules;
std::uintptr_t gNextHandle = 0x400000;

win::LibraryExports KernelExports() {
  // Bound at run time by the crash reporter, which falls back to VirtualQuery without it.
  static const win::LibraryExport kExports[] = {{"GetModuleHandleExA", win::ExportOf(&GetModuleHandleExA)}};
  return kExports;
}

// The libraries the program binds at run time and this platform provides itself.
struct Provider {
  const char* key;  // lower case, without ".dll"
  win::LibraryExports (*exports)();
};
constexpr Provider kProviders[] = {
    {"wtsapi32", win::SessionNotificationExports}, {"wsock32", win::SocketLibraryExports},
    {"version", win::FileVersionExports},          {"kernel32", KernelExports},
    {"dbghelp", win::DebugHelpExports},
};

// Names ignore case and an optional ".dll", as the system's loader does. Null for a name
// that is none of ours, and for a library with nothing to offer now.
const char* ProviderKey(std::string_view name) {
  std::string key = win::Lower(name);
  constexpr std::string_view kSuffix = ".dll";
  if (key.size() > kSuffix.size() && key.ends_with(kSuffix)) key.resize(key.size() - kSuffix.size());
  for (const Provider& provider : kProviders) {
    if (key == provider.key) return provider.exports().empty() ? nullptr : provider.key;
  }
  return nullptr;
}

win::LibraryExports ExportsOf(const char* key) {
  for (const Provider& provider : kProviders) {
    if (std::string_view(key) == provider.key) return provider.exports();
  }
  return {};
}

HMODULE HandleOf(std::uintptr_t key) { return reinterpret_cast<HMODULE>(key); }

std::uintptr_t AddModule(LoadedModule module) {
  std::uintptr_t key = gNextHandle;
  gNextHandle += 0x10000;
  module.references = 1;
  gModules[key] = std::move(module);
  return key;
}

}  // namespace

HMODULE LoadLibraryA(const char* name) {
  if (name == nullptr || *name == '\0') {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  std::lock_guard guard(gLock);
  if (const char* key = ProviderKey(name)) {
    for (auto& [handle, module] : gModules) {
      if (module.providerKey == key) {
        ++module.references;
        return HandleOf(handle);
      }
    }
    return HandleOf(AddModule(LoadedModule{key, nullptr, 0}));
  }
  void* dl = dlopen(name, RTLD_NOW | RTLD_LOCAL);
  if (dl == nullptr) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  for (auto& [handle, module] : gModules) {
    if (module.dlHandle == dl) {
      dlclose(dl);  // the loader counted this open too
      ++module.references;
      return HandleOf(handle);
    }
  }
  win::TakeModuleSnapshot();
  return HandleOf(AddModule(LoadedModule{{}, dl, 0}));
}

FARPROC GetProcAddress(HMODULE module, const char* procName) {
  std::lock_guard guard(gLock);
  auto it = gModules.find(reinterpret_cast<std::uintptr_t>(module));
  if (it == gModules.end()) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  if (procName != nullptr) {
    if (it->second.dlHandle != nullptr) {
      if (void* symbol = dlsym(it->second.dlHandle, procName)) return reinterpret_cast<FARPROC>(symbol);
    } else {
      for (const win::LibraryExport& entry : ExportsOf(it->second.providerKey)) {
        if (std::string_view(entry.name) == procName) return entry.address;
      }
    }
  }
  SetLastError(ERROR_PROC_NOT_FOUND);
  return nullptr;
}

BOOL FreeLibrary(HMODULE module) {
  std::lock_guard guard(gLock);
  auto it = gModules.find(reinterpret_cast<std::uintptr_t>(module));
  if (it == gModules.end()) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (--it->second.references == 0) {
    if (it->second.dlHandle != nullptr) {
      dlclose(it->second.dlHandle);
      win::TakeModuleSnapshot();
    }
    gModules.erase(it);
  }
  return TRUE;
}
