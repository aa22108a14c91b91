#pragma once
// The registry: a typed store of keys and values behind RegOpenKeyExA / RegQueryValueExA /
// RegQueryValueA / RegCloseKey. It answers from what Linux knows (the computer name is the
// host name) and from a store file, one line per key or value:
//
//   key<TAB>HKEY_LOCAL_MACHINE\Software\Maker
//   value<TAB>HKEY_LOCAL_MACHINE\Software\Maker<TAB>Name<TAB>type number<TAB>data as hex
//
// Key paths and value names ignore case; the value name "" is the key's default value.
// A line that does not read as one of these is skipped. Like the system's calls, these
// return the error code and also leave it as the thread's last error.
#include <string>

#include "platform/win/types.h"

struct HKEY__;
using HKEY = HKEY__*;

inline const HKEY HKEY_CLASSES_ROOT = reinterpret_cast<HKEY>(std::uintptr_t{0x80000000});
inline const HKEY HKEY_CURRENT_USER = reinterpret_cast<HKEY>(std::uintptr_t{0x80000001});
inline const HKEY HKEY_LOCAL_MACHINE = reinterpret_cast<HKEY>(std::uintptr_t{0x80000002});
inline const HKEY HKEY_USERS = reinterpret_cast<HKEY>(std::uintptr_t{0x80000003});
inline const HKEY HKEY_CURRENT_CONFIG = reinterpret_cast<HKEY>(std::uintptr_t{0x80000005});

inline constexpr DWORD REG_NONE = 0;
inline constexpr DWORD REG_SZ = 1;
inline constexpr DWORD REG_EXPAND_SZ = 2;
inline constexpr DWORD REG_BINARY = 3;
inline constexpr DWORD REG_DWORD = 4;
inline constexpr DWORD REG_DWORD_BIG_ENDIAN = 5;
inline constexpr DWORD REG_MULTI_SZ = 7;
inline constexpr DWORD REG_QWORD = 11;

inline constexpr DWORD KEY_READ = 0x20019;
inline constexpr LONG ERROR_SUCCESS = 0;
inline constexpr LONG ERROR_FILE_NOT_FOUND = 2;
inline constexpr LONG ERROR_MORE_DATA = 234;

LONG RegOpenKeyExA(HKEY root, const char* subKey, DWORD options, DWORD samDesired, HKEY* result);
// data 0: only the type and the size are answered. A buffer smaller than the value gives
// ERROR_MORE_DATA with the needed size and the type, and nothing is copied.
LONG RegQueryValueExA(HKEY key, const char* valueName, DWORD* reserved, DWORD* type, BYTE* data, DWORD* size);
// The default value of a subkey as text (NUL included in the size).
LONG RegQueryValueA(HKEY key, const char* subKey, char* data, LONG* size);
LONG RegCloseKey(HKEY key);

namespace win {
// Points the store at a file and loads it; a missing file leaves only what Linux knows.
// Without a call, the store reads $XDG_CONFIG_HOME/boxwright/registry (or ~/.config/...).
void UseRegistryFile(const std::string& path);
}  // namespace win
