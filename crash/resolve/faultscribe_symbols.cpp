// Resolve: the look-up of an address in its module's debug records, the procedure, source
// line and file named. Everything here may run inside the fault handler: fixed buffers, plain
// system calls, procedures bound ahead of the fault.
#include "crash/resolve/faultscribe_symbols.h"

#include <algorithm>
#include <cstring>

#include "crash/bound_procs.h"
#include "crash/faultscribe.h"
#include "crash/records/debug_directory.h"
#include "crash/records/inlined_calls.h"
#include "crash/records/line_info_text.h"
#include "crash/records/symbol_lookup.h"
#include "crash/resolve/module_files.h"
#include "platform/win/modules/module_file_name.h"
#include "platform/win/modules/module_handle.h"
#include "platform/win/modules/module_map.h"
#include "platform/win/modules/unhandled_exception_filter.h"
#include "platform/win/modules/virtual_query.h"
#include "platform/win/system/last_error.h"
#include "toolkit/file_services.h"

namespace {

// The look-up state of the module whose records are in use, kept between look-ups.
crash::SymbolLookup gLookup;
crash::InlinedCallLookup gInlinedCalls;
crash::PathText gModuleName;

// The inlined calls at the address of the last look-up, and the line the innermost one runs.
crash::InlinedChain gChain;
std::uint32_t gInnermostLine = 0;
char gInnermostSource[crash::kNameLength + 1] = {};
char gOuterSource[crash::kNameLength + 1] = {};

// The module without records that the last look-up named, and those a report has shown, whose
// build ids the report names once after the trace.
ULONG_PTR gLibrary = 0;
constexpr std::size_t kMostShownLibraries = 32;
ULONG_PTR gShownLibraries[kMostShownLibraries];
std::size_t gShownCount = 0;

// An offset in as many hex digits as it needs.
crash::SymbolText& Short(crash::SymbolText& text, std::uint64_t value) {
  int digits = 1;
  while (digits < 16 && value >> (4 * digits) != 0) ++digits;
  return text.AppendHex(value, digits);
}

// What lets an address in a library (a module without records) be looked up later, when the
// library is loaded elsewhere: the address as the library's file counts it, then the nearest
// exported procedure and the offset from it. The file's offset comes first: after a long
// library path it is what must still fit the text.
void AppendWhereInModule(crash::SymbolText& text, ULONG_PTR module, ULONG_PTR address) {
  win::LoadedModule loaded, program;
  if (!win::FindModuleOfHandle(module, loaded) || (win::ProgramModule(program) && program.base == loaded.base)) return;
  gLibrary = module;
  Short(text.Append(" Offset="), address - loaded.loadBias).Append('h');
  win::NearestSymbol nearest;
  if (loaded.exports != nullptr && win::FindNearestSymbol(*loaded.exports, loaded.loadBias, address, nearest))
    Short(text.Append(" Symbol=").Append(nearest.name).Append('+'), address - nearest.address).Append('h');
}

using GetModuleHandleExAProc = BOOL (*)(DWORD, const char*, HMODULE*);

// Addresses are pointer-sized: all 16 digits.
template <std::size_t N>
crash::BoundedText<N>& Hex(crash::BoundedText<N>& text, std::uint64_t value) {
  return text.AppendHex(value, 16);
}

class DirectoryLog final : public crash::DirectorySearchLog {
 public:
  explicit DirectoryLog(FaultscribeClass& reporter) : reporter_(reporter) {}
  void SectionCount(unsigned count) override {
    crash::BoundedText<64> line("LocateDebugSymbols, NumberOfHeaders=");
    reporter_._DebugLog(line.AppendDecimal(count).View(), 0);
  }
  void SectionName(const char* name) override {
    crash::BoundedText<64> line("LocateDebugSymbols, HeaderName=");
    reporter_._DebugLog(line.Append(name).View(), 0);
  }
  void SignatureNotFound() override { reporter_._DebugLog("LocateDebugSymbols, Signature not found", 0); }

 private:
  FaultscribeClass& reporter_;
};

class LookupSteps final : public crash::LookupLog {
 public:
  explicit LookupSteps(FaultscribeClass& reporter) : reporter_(reporter) {}
  void Step(const char* what) override { reporter_._DebugLog(what, 0); }

 private:
  FaultscribeClass& reporter_;
};

}  // namespace

crash::SymbolText FaultscribeClass::_GetSymbol(ULONG_PTR address, BYTE stackTrace) {
  _DebugLog("GetSymbol, Start", 0);
  gChain.count = 0;
  gLibrary = 0;
  LONG_PTR module = _GetModuleHandle(address);
  if (module == 0) return crash::SymbolText(TextForModuleNotFound.Clipped());

  auto notFound = [&](crash::PathText& path) {
    crash::SymbolText text(TextForDebugInfoNotFound.Clipped());
    text.Append(", ").Append(TextForModule.Clipped()).Append('=').Append(path.View());
    text.Append(_GetDLLVersion(path.CStr()).View());
    AppendWhereInModule(text, static_cast<ULONG_PTR>(module), address);
    return text;
  };
  if (module != DebugDataModuleHandle) {
    crash::PathText path = _GetModuleName(module);
    if (_LocateDebugSymbols(module) == 0) return notFound(path);
    // The header is read again at the next look-up, from the loaded image's own file.
    gModuleName = path;
    crash::RecordFile file;
    gInlinedCalls.Forget();
    std::uint64_t callsAt = 0, callsSize = 0;
    if (!crash::OpenModuleFile(module, gModuleName.CStr(), file) ||
        !gLookup.UseRecords(file, DebugDataOffset, static_cast<std::uint32_t>(DebugDataSize)))
      gLookup.Forget();
    else if (crash::FindInlinedCallSection(file, callsAt, callsSize))
      gInlinedCalls.Use(file, callsAt, callsSize);
  }
  LookupSteps steps(*this);
  const auto rva = static_cast<std::uint32_t>(address - module);
  crash::SymbolAnswer answer = gLookup.Find(rva, &steps);
  // Inlined code: the level names its procedure, so its line is where that procedure's own
  // source makes the outermost inlined call. The calls themselves follow the level's line.
  const bool resolved = answer.kind == crash::SymbolAnswer::Kind::Resolved && !answer.noLineNumber;
  if (resolved && gInlinedCalls.Find(rva, gChain)) {
    gInnermostLine = answer.line;
    std::strncpy(gInnermostSource, answer.sourceName, crash::kNameLength);
    answer.line = gChain.calls[0].callLine;
    answer.sourceName = gLookup.SourceName(gChain.calls[0].callSource, gOuterSource) ? gOuterSource : "";
  }
  switch (answer.kind) {
    case crash::SymbolAnswer::Kind::RecordsNotFound:
      return notFound(gModuleName);
    case crash::SymbolAnswer::Kind::SymbolTableError:
      return crash::SymbolText("SymbolTableError");
    case crash::SymbolAnswer::Kind::Resolved:
      break;
  }
  return _FormatLineInfo(static_cast<LONG>(answer.line), gModuleName.View(), answer.sourceName, answer.procName,
                         stackTrace, answer.noProcFound, answer.noLineNumber, answer.exactAddress);
}

void crash::AppendLookupDetails(FaultscribeClass& reporter, ReportText& out) {
  const ULONG_PTR* shownBegin = gShownLibraries;
  const ULONG_PTR* shownEnd = shownBegin + gShownCount;
  if (gLibrary != 0 && std::find(shownBegin, shownEnd, gLibrary) == shownEnd && gShownCount < kMostShownLibraries)
    gShownLibraries[gShownCount++] = gLibrary;
  gLibrary = 0;
  char source[kNameLength + 1];
  for (std::size_t i = 0; i < gChain.count; ++i) {
    const bool innermost = i + 1 == gChain.count;
    const char* sourceName = innermost ? gInnermostSource
                             : gLookup.SourceName(gChain.calls[i + 1].callSource, source) ? source : "";
    const auto line = static_cast<LONG>(innermost ? gInnermostLine : gChain.calls[i + 1].callLine);
    const crash::SymbolText text =
        reporter._FormatLineInfo(line, gModuleName.View(), sourceName, gChain.calls[i].name, 1, 0, 0, 0);
    out.Append("\r\n\tinlined ").Append(text.View());
  }
  gChain.count = 0;
}

void crash::AppendLibraryBuildIds(FaultscribeClass& reporter, ReportText& out) {
  for (std::size_t i = 0; i < gShownCount; ++i) {
    win::LoadedModule loaded;
    if (!win::FindModuleOfHandle(gShownLibraries[i], loaded)) continue;
    out.Append("\r\n").Append(reporter.TextForModule.Clipped()).Append('=').Append(loaded.path).Append(" Base=");
    out.AppendHex(loaded.base, 16).Append("h BuildId=");
    if (loaded.buildId == nullptr || loaded.buildId->size == 0) out.Append("none");
    else
      for (std::size_t b = 0; b < loaded.buildId->size; ++b) out.AppendHex(loaded.buildId->bytes[b], 2);
  }
  gShownCount = 0;
}

LONG_PTR FaultscribeClass::_GetModuleHandle(ULONG_PTR address) {
  // "kernel32"'s GetModuleHandleExA is platform/win/modules/module_handle.cpp.
  if (auto getModuleHandleEx =
          crash::BoundProc<GetModuleHandleExAProc>("kernel32", "GetModuleHandleExA", vrGPF::GetModuleHandleExA_Cell)) {
    HMODULE module = nullptr;
    crash::BoundedText<200> line;
    if (getModuleHandleEx(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                          reinterpret_cast<const char*>(address), &module)) {
      line.Append("GetModuleHandle used GetModuleHandleExA, hModule=");
      Hex(line, reinterpret_cast<ULONG_PTR>(module)).Append("h pAddress=");
      _DebugLog(Hex(line, address).Append('h').View(), 0);
      return reinterpret_cast<LONG_PTR>(module);
    }
    line.Append("GetModuleHandle used GetModuleHandleExA, no module found , pAddress=");
    Hex(line, address).Append("h Error=").AppendDecimal(GetLastError());
    _DebugLog(line.View(), 0);
    return 0;
  }
  MEMORY_BASIC_INFORMATION info{};
  crash::BoundedText<400> line;
  if (VirtualQuery(reinterpret_cast<const void*>(address), &info, sizeof info) == 0) {
    line.Append("GetModuleHandle used VirtualQuery, no module found, pAddress=");
    _DebugLog(Hex(line, address).View(), 0);
    return 0;
  }
  if ((info.Protect & 0xF0) == 0) {
    line.Append("GetModuleHandle used VirtualQuery, non executable, pAddress=");
    _DebugLog(Hex(line, address).View(), 0);
    return 0;
  }
  line.Append("GetModuleHandle used VirtualQuery, MBI:AllocationBase=");
  Hex(line, reinterpret_cast<ULONG_PTR>(info.AllocationBase)).Append("h pAddress=");
  _DebugLog(Hex(line, address).Append('h').View(), 0);
  line.Clear();
  line.Append("GetModuleHandle used VirtualQuery, pAddress=");
  Hex(line, address).Append('h');
  const std::pair<std::string_view, std::uint64_t> fields[] = {
      {"MBI:BaseAddress=", reinterpret_cast<ULONG_PTR>(info.BaseAddress)},
      {"MBI:AllocationBase=", reinterpret_cast<ULONG_PTR>(info.AllocationBase)},
      {"MBI:AllocationProtect=", info.AllocationProtect},
      {"MBI:RegionSize=", info.RegionSize},
      {"MBI:State=", info.State},
      {"MBI:Protect=", info.Protect},
      {"MBI:Type=", info.Type}};
  for (const auto& [name, value] : fields) Hex(line.Append("\r\n\t").Append(name), value).Append('h');
  _DebugLog(line.View(), 0);
  return reinterpret_cast<LONG_PTR>(info.AllocationBase);
}

crash::PathText FaultscribeClass::_GetModuleName(LONG_PTR module) {
  char path[crash::kMostPath + 1];
  DWORD n = GetModuleFileNameA(reinterpret_cast<HMODULE>(module), path, sizeof path);
  return crash::PathText(std::string_view(path, n > 0 && n < sizeof path ? n : 0));
}

LONG FaultscribeClass::_LocateDebugSymbols(LONG_PTR module) {
  crash::BoundedText<80> start("LocateDebugSymbols, Start, hModule=");
  _DebugLog(Hex(start, static_cast<ULONG_PTR>(module)).Append('h').View(), 0);
  crash::PathText path = _GetModuleName(module);
  crash::RecordFile file;
  crash::DebugDirectory directory;
  DirectoryLog log(*this);
  // Only the loaded image's own file is searched: another program's records would name
  // procedures it does not have.
  if (!crash::OpenModuleFile(module, path.CStr(), file) || !crash::FindDebugDirectory(file, directory, &log)) {
    _DebugLog("LocateDebugSymbols, Failed", 0);
    return 0;
  }
  DebugDataOffset = directory.offset;
  DebugDataSize = static_cast<LONG>(directory.size);
  DebugDataModuleHandle = module;
  _DebugLog("LocateDebugSymbols, Debug data located.", 0);
  return 1;
}

void FaultscribeClass::_ReadBlockFromFile(ULONG offset, LONG byteCount, const char* fileName, void* block) {
  crash::RecordFile file;
  if (byteCount <= 0 || fileName == nullptr || !file.Open(fileName)) return;
  // Only a block the file holds whole is read: a short read would leave half a block.
  char last;
  if (file.ReadExactly(offset + static_cast<std::uint64_t>(byteCount) - 1, &last, 1))
    file.ReadExactly(offset, block, static_cast<std::size_t>(byteCount));
}

crash::SymbolText FaultscribeClass::_GetDLLVersion(const char* fileName) {
  // The version query needs the heap, which a fault may have left locked; while a fault is
  // reported the module item goes without it (no file of this system but our own carries one).
  if (vrGPF::AlreadyActive.load() != 0 || win::InFaultHandler() || fileName == nullptr) return {};
  std::string version = kx_GetFileVersionInfo(std::string_view(fileName));
  while (!version.empty() && version.back() == ' ') version.pop_back();
  if (version.empty()) return {};
  crash::SymbolText text(" ");
  return text.Append(version);
}

crash::SymbolText FaultscribeClass::_FormatLineInfo(LONG line, std::string_view moduleName,
                                                    std::string_view sourceName, std::string_view procName,
                                                    BYTE stackTrace, BYTE noProcFound, BYTE noLineNumber,
                                                    BYTE exactAddress) {
  crash::LineInfoLabels labels{TextForLine.Clipped(), TextForLineNotFound.Clipped(), TextForProc.Clipped(),
                               TextForNoProc.Clipped(), TextForSrc.Clipped(), TextForModule.Clipped()};
  // The program's own frames get no module item. FileName keeps only the front of a long
  // path, so the whole path decides whether a module is the program.
  char own[crash::kMostPath + 1];
  DWORD ownLength = GetModuleFileNameA(nullptr, own, sizeof own);
  std::string_view program =
      ownLength > 0 && ownLength < sizeof own ? std::string_view(own, ownLength) : FileName.Clipped();
  crash::SymbolText version;
  if (moduleName != program) version = _GetDLLVersion(crash::PathText(moduleName).CStr());
  crash::LineInfo info{line, moduleName, sourceName, procName, stackTrace == 1, noProcFound == 1,
                       noLineNumber == 1, exactAddress == 1, program, version.View()};
  char text[crash::kLineInfoSize];
  std::size_t length = crash::FormatLineInfo(labels, info, text);
  return crash::SymbolText(std::string_view(text, length));
}

namespace crash {

void PrepareSymbolLookup() {
  kx_LoadDLLProc("kernel32", "GetModuleHandleExA", vrGPF::GetModuleHandleExA_Cell);
  win::TakeModuleSnapshot();
  KeepProgramFile();
}

}  // namespace crash
