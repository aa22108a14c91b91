// kx_String2File.
#include <algorithm>

#include "platform/win/files/files.h"
#include "toolkit/error_state.h"
#include "toolkit/file_name.h"
#include "toolkit/file_services.h"

namespace {

LONG Fail(const std::string& name, LONG code) { return kx_ErrorSet(code, name + " " + kx_WinError()); }

// Every byte, over as many writes as the system wants; a write that takes nothing is a
// full device.
bool WriteAll(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    DWORD written = 0;
    DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 0x40000000));
    if (!WriteFile(file, bytes.data(), chunk, &written, nullptr)) return false;
    if (written == 0) {
      SetLastError(ERROR_DISK_FULL);
      return false;
    }
    bytes.remove_prefix(written);
  }
  return true;
}

}  // namespace

LONG kx_String2File(std::string_view fileName, std::string_view text, LONG length, BYTE append) {
  kx_ErrorReset("kx_String2File");
  if (Clip(fileName).empty()) return kx_ErrorSet(KX_ERR_STRING2FILE_NONAME);
  std::optional<std::string> name = SystemFileName(fileName);
  if (!name) return Fail("", KX_ERR_STRING2FILE_CREATE);
  HANDLE file = CreateFileA(name->c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, append ? OPEN_ALWAYS : CREATE_ALWAYS,
                            0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return Fail(*name, KX_ERR_STRING2FILE_CREATE);
  if (append && SetFilePointer(file, 0, nullptr, FILE_END) == INVALID_SET_FILE_POINTER && GetLastError() != 0) {
    LONG code = Fail(*name, KX_ERR_STRING2FILE_WRITE);
    CloseHandle(file);
    return code;
  }
  std::string_view bytes = length <= 0 ? Clip(text) : text.substr(0, static_cast<std::size_t>(length));
  if (!WriteAll(file, bytes)) {
    LONG code = Fail(*name, KX_ERR_STRING2FILE_WRITE);
    CloseHandle(file);
    return code;
  }
  if (!CloseHandle(file)) return Fail(*name, KX_ERR_STRING2FILE_CLOSE);
  return 0;
}
