#include "platform/win/system/registry.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <map>
#include <mutex>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/win/shell/desktop_associations.h"
#include "platform/win/system/ascii_text.h"
#include "platform/win/system/last_error.h"

namespace {

struct StoredValue {
  DWORD type = REG_NONE;
  std::string data;
};

struct Store {
  bool loaded = false;
  std::string file;
  std::map<std::string, std::map<std::string, StoredValue>> keys;  // upper-case path -> values
};

constexpr std::pair<const char*, std::uintptr_t> kRoots[] = {
    {"HKEY_CLASSES_ROOT", 0x80000000}, {"HKEY_CURRENT_USER", 0x80000001}, {"HKEY_LOCAL_MACHINE", 0x80000002},
    {"HKEY_USERS", 0x80000003},        {"HKEY_CURRENT_CONFIG", 0x80000005},
};

std::mutex gLock;
Store gStore;
std::map<std::uintptr_t, std::string> gOpenKeys;
std::uintptr_t gNextKey = 0x2000;

// One form for every spelling of a path: upper case, single backslashes, none at the ends.
std::string NormalPath(std::string_view path) {
  std::string out;
  for (char c : path) {
    if (c == '\\' && (out.empty() || out.back() == '\\')) continue;
    out += win::UpperByte(c);
  }
  if (!out.empty() && out.back() == '\\') out.pop_back();
  return out;
}

std::string Join(const std::string& parent, std::string_view sub) {
  std::string child = NormalPath(sub);
  if (child.empty()) return parent;
  return parent + "\\" + child;
}

std::optional<std::string> RootName(std::uintptr_t key) {
  for (const auto& [name, value] : kRoots) {
    if (value == key) return std::string(name);
  }
  return std::nullopt;
}

std::optional<std::string> DecodeHex(std::string_view hex) {
  if (hex.size() % 2 != 0) return std::nullopt;
  std::string out;
  out.reserve(hex.size() / 2);
  auto digit = [](char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  };
  for (size_t i = 0; i < hex.size(); i += 2) {
    int hi = digit(hex[i]);
    int lo = digit(hex[i + 1]);
    if (hi < 0 || lo < 0) return std::nullopt;
    out += static_cast<char>(hi * 16 + lo);
  }
  return out;
}

std::vector<std::string_view> SplitTabs(std::string_view line) {
  std::vector<std::string_view> fields;
  size_t start = 0;
  for (;;) {
    size_t tab = line.find('\t', start);
    fields.push_back(line.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start));
    if (tab == std::string_view::npos) return fields;
    start = tab + 1;
  }
}

// A key path must start with a root's name.
bool KnownRoot(const std::string& path) {
  for (const auto& [name, value] : kRoots) {
    std::string root(name);
    if (path == root || path.starts_with(root + "\\")) return true;
  }
  return false;
}

void AddKey(Store& store, const std::string& path) {
  // Parents exist with their children, as in the system's registry.
  for (size_t cut = path.find('\\'); cut != std::string::npos; cut = path.find('\\', cut + 1)) {
    store.keys[path.substr(0, cut)];
  }
  store.keys[path];
}

void ReadStoreLine(Store& store, std::string_view line) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  auto fields = SplitTabs(line);
  if (fields.size() == 2 && fields[0] == "key") {
    std::string path = NormalPath(fields[1]);
    if (KnownRoot(path)) AddKey(store, path);
    return;
  }
  if (fields.size() != 5 || fields[0] != "value") return;
  std::string path = NormalPath(fields[1]);
  if (!KnownRoot(path)) return;
  char* end = nullptr;
  std::string typeText(fields[3]);
  unsigned long type = std::strtoul(typeText.c_str(), &end, 10);
  if (typeText.empty() || *end != '\0' || type > 0xFFFFFFFFul) return;
  auto data = DecodeHex(fields[4]);
  if (!data) return;
  AddKey(store, path);
  store.keys[path][win::Upper(fields[2])] = StoredValue{static_cast<DWORD>(type), std::move(*data)};
}

std::string DefaultStoreFile() {
  if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config) {
    return std::string(config) + "/boxwright/registry";
  }
  if (const char* home = std::getenv("HOME"); home && *home) return std::string(home) + "/.config/boxwright/registry";
  return {};
}

void SeedFromSystem(Store& store) {
  char host[256] = {};
  if (::gethostname(host, sizeof host - 1) != 0) return;
  std::string path = NormalPath("HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\ComputerName\\ComputerName");
  AddKey(store, path);
  store.keys[path]["COMPUTERNAME"] = StoredValue{REG_SZ, std::string(host) + '\0'};
}

void Load(Store& store, const std::string& file) {
  store = Store{};
  store.loaded = true;
  store.file = file;
  SeedFromSystem(store);
  if (file.empty()) return;
  std::ifstream in(file, std::ios::binary);
  std::string line;
  while (std::getline(in, line)) ReadStoreLine(store, line);
}

Store& LoadedStore() {
  if (!gStore.loaded) Load(gStore, DefaultStoreFile());
  return gStore;
}

// The path behind a handle: a root or an open key.
std::optional<std::string> PathOf(HKEY key) {
  auto number = reinterpret_cast<std::uintptr_t>(key);
  if (auto root = RootName(number)) return root;
  auto it = gOpenKeys.find(number);
  if (it == gOpenKeys.end()) return std::nullopt;
  return it->second;
}

constexpr LONG kInvalidHandle = 6;  // ERROR_INVALID_HANDLE

LONG Fail(LONG code) {
  SetLastError(static_cast<DWORD>(code));
  return code;
}

LONG Succeed() {
  SetLastError(0);
  return ERROR_SUCCESS;
}

}  // namespace

LONG RegOpenKeyExA(HKEY root, const char* subKey, DWORD /*options*/, DWORD /*samDesired*/, HKEY* result) {
  if (result == nullptr) return Fail(87);
  *result = nullptr;
  std::lock_guard guard(gLock);
  Store& store = LoadedStore();
  auto base = PathOf(root);
  if (!base) return Fail(kInvalidHandle);
  std::string path = Join(*base, subKey ? subKey : "");
  if (!store.keys.contains(path) && RootName(reinterpret_cast<std::uintptr_t>(root)) != path) {
    return Fail(ERROR_FILE_NOT_FOUND);
  }
  std::uintptr_t number = gNextKey;
  gNextKey += 4;
  gOpenKeys[number] = path;
  *result = reinterpret_cast<HKEY>(number);
  return Succeed();
}

LONG RegQueryValueExA(HKEY key, const char* valueName, DWORD* /*reserved*/, DWORD* type, BYTE* data, DWORD* size) {
  std::lock_guard guard(gLock);
  Store& store = LoadedStore();
  auto path = PathOf(key);
  if (!path) return Fail(kInvalidHandle);
  auto keyIt = store.keys.find(*path);
  if (keyIt == store.keys.end()) return Fail(ERROR_FILE_NOT_FOUND);
  auto valueIt = keyIt->second.find(win::Upper(valueName ? valueName : ""));
  if (valueIt == keyIt->second.end()) return Fail(ERROR_FILE_NOT_FOUND);
  const StoredValue& value = valueIt->second;
  if (type) *type = value.type;
  if (data != nullptr) {
    if (size == nullptr) return Fail(87);
    if (*size < value.data.size()) {
      *size = static_cast<DWORD>(value.data.size());
      return Fail(ERROR_MORE_DATA);
    }
    std::copy(value.data.begin(), value.data.end(), data);
  }
  if (size) *size = static_cast<DWORD>(value.data.size());
  return Succeed();
}

namespace {

// A file-type or URL-scheme handler key answered from the desktop's associations.
LONG AnswerText(const std::string& text, char* data, LONG* size) {
  LONG needed = static_cast<LONG>(text.size() + 1);
  if (size == nullptr) return Fail(87);
  if (data != nullptr && *size < needed) {
    *size = needed;
    return Fail(ERROR_MORE_DATA);
  }
  if (data != nullptr) std::copy(text.c_str(), text.c_str() + needed, data);
  *size = needed;
  return Succeed();
}

}  // namespace

LONG RegQueryValueA(HKEY key, const char* subKey, char* data, LONG* size) {
  if (key == HKEY_CLASSES_ROOT) {
    std::string_view name = subKey ? subKey : "";
    if (auto answer = win::ClassesRootDefault(name)) return AnswerText(*answer, data, size);
    // The root itself has no default value to give.
    if (NormalPath(name).empty()) return Fail(ERROR_FILE_NOT_FOUND);
  }
  HKEY sub = nullptr;
  if (LONG opened = RegOpenKeyExA(key, subKey, 0, KEY_READ, &sub); opened != ERROR_SUCCESS) return opened;
  DWORD type = REG_NONE;
  DWORD length = size && *size > 0 ? static_cast<DWORD>(*size) : 0;
  LONG result = RegQueryValueExA(sub, "", nullptr, &type, reinterpret_cast<BYTE*>(data), size ? &length : nullptr);
  RegCloseKey(sub);
  if (result == ERROR_FILE_NOT_FOUND) {
    // A key without a default value reads as an empty text.
    if (size && data && *size > 0) data[0] = '\0';
    if (size) *size = 1;
    return Succeed();
  }
  if (result == ERROR_SUCCESS && type != REG_SZ && type != REG_EXPAND_SZ) return Fail(13);  // ERROR_INVALID_DATA
  if (size) *size = static_cast<LONG>(length);
  if (result != ERROR_SUCCESS) return Fail(result);
  return Succeed();
}

LONG RegCloseKey(HKEY key) {
  std::lock_guard guard(gLock);
  auto number = reinterpret_cast<std::uintptr_t>(key);
  if (RootName(number)) return Succeed();
  if (gOpenKeys.erase(number) == 0) return Fail(kInvalidHandle);
  return Succeed();
}

namespace win {
void UseRegistryFile(const std::string& path) {
  std::lock_guard guard(gLock);
  Load(gStore, path);
}
}  // namespace win
