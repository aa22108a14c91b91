#include "toolkit/registry_value.h"

#include <algorithm>

#include "toolkit/clip.h"
#include "toolkit/error_state.h"

namespace {

constexpr size_t kPathLimit = 255;
constexpr DWORD kDataBuffer = 255;

// The 32-bit number in the first four bytes; a shorter value counts its missing bytes as 0.
LONG DwordOf(const BYTE* data, DWORD size, bool bigEndian) {
  BYTE bytes[4] = {};
  std::copy(data, data + std::min<DWORD>(size, 4), bytes);
  ULONG value = bigEndian ? (ULONG{bytes[0]} << 24 | ULONG{bytes[1]} << 16 | ULONG{bytes[2]} << 8 | bytes[3])
                          : (ULONG{bytes[3]} << 24 | ULONG{bytes[2]} << 16 | ULONG{bytes[1]} << 8 | bytes[0]);
  return static_cast<LONG>(value);
}

}  // namespace

kx_RegValue kx_GetReg(HKEY rootKey, std::string_view valueName, std::string_view keyPath) {
  kx_ErrorReset("kx_GetReg");
  std::string path(Clip(keyPath).substr(0, kPathLimit));
  HKEY key = nullptr;
  if (RegOpenKeyExA(rootKey, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
    kx_ErrorSet(KX_ERR_GETREG, kx_WinError());
    return LONG{0};
  }
  std::string name(Clip(valueName));
  DWORD type = REG_NONE;
  BYTE data[kDataBuffer] = {};
  DWORD size = kDataBuffer;
  bool read = RegQueryValueExA(key, name.c_str(), nullptr, &type, data, &size) == ERROR_SUCCESS;
  if (!read) kx_ErrorSet(KX_ERR_GETREG, kx_WinError());
  RegCloseKey(key);
  // A failed query (a value too long for the buffer among them) answers 0, whatever type
  // it reported: the buffer holds nothing of the value.
  if (!read) return LONG{0};
  size = std::min(size, kDataBuffer);
  const char* bytes = reinterpret_cast<const char*>(data);
  switch (type) {
    case REG_SZ:
    case REG_EXPAND_SZ:
    case REG_MULTI_SZ:
      // Without its closing NUL; a value stored without one keeps all its bytes.
      if (size > 0 && data[size - 1] == 0) --size;
      return std::string(bytes, size);
    case REG_BINARY: return std::string(bytes, size);
    case REG_DWORD: return DwordOf(data, size, false);
    case REG_DWORD_BIG_ENDIAN: return DwordOf(data, size, true);
    default: return LONG{0};
  }
}

std::string kx_RegText(const kx_RegValue& value) {
  if (const auto* text = std::get_if<std::string>(&value)) return *text;
  return std::to_string(std::get<LONG>(value));
}
