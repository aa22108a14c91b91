#pragma once
// File version resources ("version.dll"). Linux executables carry none; the provider
// answers from a resource registered for the file, else from the version strings our build
// writes into each program file (embedded_version.h). Any other file has no version resource.
//
// The data block that GetFileVersionInfoA fills is ours; VerQueryValueA reads it and never
// reads past the bytes that were filled, even when the caller's buffer was too short.
#include <string>
#include <utility>
#include <vector>

#include "platform/win/modules/library.h"

struct VersionResource {
  WORD language = 0x0409;  // U.S. English
  WORD codePage = 0x04B0;  // Unicode
  std::vector<std::pair<std::string, std::string>> strings;  // "FileVersion" -> "1.1.0"
};

// The size of the file's version data; 0 with ERROR_FILE_NOT_FOUND or
// ERROR_RESOURCE_TYPE_NOT_FOUND. handle is set to 0.
using GetFileVersionInfoSizeAProc = DWORD (*)(const char* file, DWORD* handle);
// Copies the first `length` bytes of the version data.
using GetFileVersionInfoAProc = BOOL (*)(const char* file, DWORD handle, DWORD length, void* data);
// "\VarFileInfo\Translation": the language and code page (two WORDs); the path
// "\StringFileInfo\llllcccc\Name": the NUL-terminated text (length counts the NUL).
using VerQueryValueAProc = BOOL (*)(const void* block, const char* subBlock, void** buffer, UINT* length);

inline constexpr DWORD ERROR_RESOURCE_TYPE_NOT_FOUND = 1813;

namespace win {
void RegisterVersionResource(const std::string& file, VersionResource resource);
LibraryExports FileVersionExports();
}  // namespace win
