#include "platform/win/modules/file_version.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <mutex>
#include <string_view>

#include "platform/win/modules/embedded_version.h"
#include "platform/win/system/ascii_text.h"
#include "platform/win/system/last_error.h"

namespace {

// Block layout: "BWVR", DWORD size of the valid bytes, WORD language, WORD code page, then
// per string: WORD name length, WORD value length, name, NUL, value, NUL.
constexpr char kMagic[4] = {'B', 'W', 'V', 'R'};
constexpr size_t kHeader = 12;

std::mutex gLock;
std::map<std::string, std::string> gBlocks;  // canonical path -> block

std::string CanonicalPath(const char* file) {
  std::error_code error;
  auto path = std::filesystem::weakly_canonical(std::filesystem::absolute(file, error), error);
  return error ? std::string(file) : path.string();
}

template <class T>
void Put(std::string& out, T value) {
  out.append(reinterpret_cast<const char*>(&value), sizeof value);
}

template <class T>
T Get(const char* at) {
  T value;
  std::memcpy(&value, at, sizeof value);
  return value;
}

std::string BuildBlock(const VersionResource& resource) {
  std::string block(kMagic, sizeof kMagic);
  Put<DWORD>(block, 0);
  Put<WORD>(block, resource.language);
  Put<WORD>(block, resource.codePage);
  for (const auto& [name, value] : resource.strings) {
    if (name.size() > 0xFFFF || value.size() > 0xFFFF) continue;
    Put<WORD>(block, static_cast<WORD>(name.size()));
    Put<WORD>(block, static_cast<WORD>(value.size()));
    block.append(name).push_back('\0');
    block.append(value).push_back('\0');
  }
  DWORD size = static_cast<DWORD>(block.size());
  std::memcpy(block.data() + 4, &size, sizeof size);
  return block;
}

// The block of a file; false with the last error set when it has none.
bool FindBlock(const char* file, std::string& block) {
  if (file == nullptr || !std::filesystem::exists(file)) {
    SetLastError(2);
    return false;
  }
  {
    std::lock_guard guard(gLock);
    if (auto it = gBlocks.find(CanonicalPath(file)); it != gBlocks.end()) {
      block = it->second;
      return true;
    }
  }
  if (auto embedded = win::ReadEmbeddedVersion(file)) {
    block = BuildBlock(*embedded);
    return true;
  }
  SetLastError(ERROR_RESOURCE_TYPE_NOT_FOUND);
  return false;
}

DWORD GetFileVersionInfoSizeA(const char* file, DWORD* handle) {
  if (handle) *handle = 0;
  std::string block;
  return FindBlock(file, block) ? static_cast<DWORD>(block.size()) : 0;
}

BOOL GetFileVersionInfoA(const char* file, DWORD /*handle*/, DWORD length, void* data) {
  std::string block;
  if (data == nullptr || !FindBlock(file, block)) return FALSE;
  DWORD copied = std::min<DWORD>(length, static_cast<DWORD>(block.size()));
  if (copied < kHeader) {
    SetLastError(122);  // ERROR_INSUFFICIENT_BUFFER
    return FALSE;
  }
  std::memcpy(data, block.data(), copied);
  std::memcpy(static_cast<char*>(data) + 4, &copied, sizeof copied);  // what a reader may read
  return TRUE;
}

BOOL VerQueryValueA(const void* block, const char* subBlock, void** buffer, UINT* length) {
  const char* base = static_cast<const char*>(block);
  if (base == nullptr || subBlock == nullptr || buffer == nullptr || std::memcmp(base, kMagic, 4) != 0) {
    SetLastError(87);
    return FALSE;
  }
  const DWORD size = Get<DWORD>(base + 4);
  std::string_view path(subBlock);
  if (win::EqualNoCase(path, "\\VarFileInfo\\Translation")) {
    *buffer = const_cast<char*>(base + 8);
    if (length) *length = 4;
    return TRUE;
  }
  constexpr std::string_view kStrings = "\\StringFileInfo\\";
  if (path.size() > kStrings.size() + 9 && win::EqualNoCase(path.substr(0, kStrings.size()), kStrings) &&
      path[kStrings.size() + 8] == '\\') {
    char wanted[9];
    std::snprintf(wanted, sizeof wanted, "%04X%04X", Get<WORD>(base + 8), Get<WORD>(base + 10));
    std::string_view name = path.substr(kStrings.size() + 9);
    if (win::EqualNoCase(path.substr(kStrings.size(), 8), wanted)) {
      for (size_t at = kHeader; at + 4 <= size;) {
        size_t nameLength = Get<WORD>(base + at);
        size_t valueLength = Get<WORD>(base + at + 2);
        size_t next = at + 4 + nameLength + 1 + valueLength + 1;
        if (next > size) break;
        if (win::EqualNoCase(std::string_view(base + at + 4, nameLength), name)) {
          *buffer = const_cast<char*>(base + at + 4 + nameLength + 1);
          if (length) *length = static_cast<UINT>(valueLength + 1);
          return TRUE;
        }
        at = next;
      }
    }
  }
  SetLastError(ERROR_RESOURCE_TYPE_NOT_FOUND);
  return FALSE;
}

}  // namespace

namespace win {
void RegisterVersionResource(const std::string& file, VersionResource resource) {
  std::lock_guard guard(gLock);
  gBlocks[CanonicalPath(file.c_str())] = BuildBlock(resource);
}

LibraryExports FileVersionExports() {
  static const LibraryExport kExports[] = {{"GetFileVersionInfoSizeA", ExportOf(&GetFileVersionInfoSizeA)},
                                           {"GetFileVersionInfoA", ExportOf(&GetFileVersionInfoA)},
                                           {"VerQueryValueA", ExportOf(&VerQueryValueA)}};
  return kExports;
}
}  // namespace win
