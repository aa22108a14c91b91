// kx_GetFileVersionInfo.
#include <cstring>
#include <vector>

#include "platform/rt/thread.h"
#include "platform/win/modules/file_version.h"
#include "platform/win/modules/module_file_name.h"
#include "toolkit/dll_binding.h"
#include "toolkit/error_state.h"
#include "toolkit/file_name.h"
#include "toolkit/file_services.h"
#include "toolkit/hex_format.h"

namespace {

constexpr const char* kProcName = "kx_GetFileVersionInfo";

kx_ProcCell WC_GetFileVersionInfoSize{KX_CELL_UNTRIED};
kx_ProcCell WC_GetFileVersionInfo{KX_CELL_UNTRIED};
kx_ProcCell WC_VerQueryValue{KX_CELL_UNTRIED};

std::string Fail(std::string_view text) {
  kx_ErrorSet(KX_ERR_GETFILEVERSIONINFO, text);
  return {};
}

// The procedure bound into the cell, or none with the error recorded. "version.dll" is
// platform/win/modules/file_version.cpp.
template <class Proc>
Proc Bind(const char* procName, kx_ProcCell& cell) {
  LONG bound = kx_LoadDLLProc("version.dll", procName, cell);
  kx_ErrorReset(kProcName);  // the binding entered its own name; errors read as ours
  if (bound != 0) {
    Fail(std::string(procName) + " not found.");
    return nullptr;
  }
  return kx_BoundProc<Proc>(cell);
}

std::optional<std::string> ProgramFileName() {
  std::vector<char> path(261);
  for (;;) {
    DWORD n = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return std::nullopt;
    if (n < path.size()) return std::string(path.data(), n);
    path.resize(path.size() * 2);
  }
}

// The bytes [answer, answer + length) when they lie inside the data.
bool Inside(const std::vector<char>& data, const void* answer, UINT length) {
  auto* at = static_cast<const char*>(answer);
  return at >= data.data() && at <= data.data() + data.size() &&
         length <= static_cast<std::size_t>(data.data() + data.size() - at);
}

}  // namespace

std::string kx_GetFileVersionInfo(std::optional<std::string_view> fileName, std::optional<std::string_view> key) {
  AttachThreadToRuntime();  // the crash reporter asks from a thread the runtime did not start
  kx_ErrorReset(kProcName);
  std::optional<std::string> file = fileName ? SystemFileName(*fileName) : ProgramFileName();
  if (!file) return Fail(kx_WinError());

  auto sizeOf = Bind<GetFileVersionInfoSizeAProc>("GetFileVersionInfoSizeA", WC_GetFileVersionInfoSize);
  if (sizeOf == nullptr) return {};
  DWORD handle = 0;
  DWORD size = sizeOf(file->c_str(), &handle);
  if (size == 0) return Fail(kx_WinError());

  auto infoOf = Bind<GetFileVersionInfoAProc>("GetFileVersionInfoA", WC_GetFileVersionInfo);
  if (infoOf == nullptr) return {};
  std::vector<char> data(size);
  if (!infoOf(file->c_str(), handle, size, data.data())) return Fail(kx_WinError());

  auto query = Bind<VerQueryValueAProc>("VerQueryValueA", WC_VerQueryValue);
  if (query == nullptr) return {};
  void* answer = nullptr;
  UINT length = 0;
  if (!query(data.data(), "\\VarFileInfo\\Translation", &answer, &length)) return Fail(kx_WinError());
  if (length < 2 * sizeof(WORD) || !Inside(data, answer, length)) return Fail("VerQueryValueA gave no translation.");
  WORD translation[2];
  std::memcpy(translation, answer, sizeof translation);

  std::string path = "\\StringFileInfo\\" + kx_FormatHex(translation[0], 4) + kx_FormatHex(translation[1], 4) + "\\";
  path.append(key ? Clip(*key) : std::string_view("FileVersion"));
  if (!query(data.data(), path.c_str(), &answer, &length)) return Fail(kx_WinError());
  if (!Inside(data, answer, length)) return Fail("VerQueryValueA gave no text.");
  const char* text = static_cast<const char*>(answer);
  return std::string(text, strnlen(text, length));
}
