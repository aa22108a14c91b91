// The stack walk and the debug-record look-up of the report. Everything here may run inside
// the fault handler: fixed buffers, plain system calls, procedures bound ahead of the fault.
#include "crash/faultscribe_stack.h"

#include <cctype>
#include <cstring>

#include "crash/debug_directory.h"
#include "crash/fault_path.h"
#include "crash/line_info_text.h"
#include "crash/lookup_address_window.h"
#include "crash/presenter_channel.h"
#include "crash/symbol_lookup.h"
#include "platform/win/debug_help.h"
#include "platform/win/last_error.h"
#include "platform/win/module_file_name.h"
#include "platform/win/module_handle.h"
#include "platform/win/module_map.h"
#include "platform/win/unhandled_exception_filter.h"
#include "platform/win/virtual_query.h"
#include "toolkit/file_services.h"

namespace {

constexpr std::string_view kCrLf = "\r\n";
constexpr int kMostLevel = 30;

// The look-up state of the module whose records are in use, kept between look-ups.
crash::SymbolLookup gLookup;
crash::SymbolText gModuleName;

// The stack walk's state.
ULONG_PTR SaveESP = 0, SaveEBP = 0;
LONG StackLevel = 0;
DWORD MachineType = 0;
HANDLE HThread = nullptr;

using GetModuleHandleExAProc = BOOL (*)(DWORD, const char*, HMODULE*);

// Addresses are pointer-sized: all 16 digits.
template <std::size_t N>
crash::BoundedText<N>& Hex(crash::BoundedText<N>& text, std::uint64_t value) {
  return text.AppendHex(value, 16);
}

// A stack level in the runtime's picture "n02".
void AppendLevel(crash::ReportText& out, LONG level) {
  if (level < 10) out.Append('0');
  out.AppendDecimal(level);
}

// Reads the stack word at an address the walk gave, inside the bounds; false outside them.
struct StackRange {
  ULONG_PTR low = 0, high = 0;
  bool Holds(ULONG_PTR address) const { return address >= low && address <= high - 8 && high >= 8; }
  // Any word of the stack, the sanitizer's red zones between variables included.
  [[gnu::no_sanitize("address")]] bool Read(ULONG_PTR address, std::uint64_t& value) const {
    if (!Holds(address)) return false;
    value = *reinterpret_cast<const volatile std::uint64_t*>(address);
    return true;
  }
};

// The faulting thread's stack, as noted when the thread started; else the readable mapping
// that holds the scan's start.
StackRange StackAround(ULONG_PTR start) {
  win::StackBounds bounds = win::ThreadStackBounds();
  if (bounds.high > bounds.low && start >= bounds.low && start < bounds.high) return {bounds.low, bounds.high};
  MEMORY_BASIC_INFORMATION info{};
  if (VirtualQuery(reinterpret_cast<const void*>(start), &info, sizeof info) == 0 || info.State != MEM_COMMIT ||
      (info.Protect & (PAGE_READONLY | PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READ |
                       PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY)) == 0)
    return {};
  auto base = reinterpret_cast<ULONG_PTR>(info.BaseAddress);
  return {base, base + info.RegionSize};
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

// The procedure in its cell, bound with kx_LoadDLLProc the first time. Construct binds them
// all ahead, so at fault time a bound or failed cell is read without touching the toolkit's
// per-thread error state, whose first use on a new thread allocates.
template <class Proc>
Proc BoundProc(std::string_view library, std::string_view name, kx_ProcCell& cell) {
  std::uintptr_t bound = cell.load();
  if (bound == KX_CELL_FAILED) return nullptr;
  if (bound == KX_CELL_UNTRIED && kx_LoadDLLProc(library, name, cell) != 0) return nullptr;
  return kx_BoundProc<Proc>(cell);
}

}  // namespace

crash::SymbolText FaultscribeClass::_GetSymbol(ULONG_PTR address, BYTE stackTrace) {
  _DebugLog("GetSymbol, Start", 0);
  LONG_PTR module = _GetModuleHandle(address);
  if (module == 0) return crash::SymbolText(TextForModuleNotFound.Clipped());

  auto notFound = [&](std::string_view path) {
    crash::SymbolText text(TextForDebugInfoNotFound.Clipped());
    text.Append(", ").Append(TextForModule.Clipped()).Append('=').Append(path);
    return text.Append(_GetDLLVersion(crash::SymbolText(path).CStr()).View());
  };
  if (module != DebugDataModuleHandle) {
    crash::SymbolText path = _GetModuleName(module);
    if (_LocateDebugSymbols(module) == 0) return notFound(path.View());
    // The header is read again from the newly located records at the next look-up.
    gModuleName = path;
    gLookup.UseRecords(gModuleName.CStr(), DebugDataOffset, static_cast<std::uint32_t>(DebugDataSize));
  }
  LookupSteps steps(*this);
  crash::SymbolAnswer answer = gLookup.Find(static_cast<std::uint32_t>(address - module), &steps);
  switch (answer.kind) {
    case crash::SymbolAnswer::Kind::RecordsNotFound:
      return notFound(gModuleName.View());
    case crash::SymbolAnswer::Kind::SymbolTableError:
      return crash::SymbolText("SymbolTableError");
    case crash::SymbolAnswer::Kind::Resolved:
      break;
  }
  return _FormatLineInfo(static_cast<LONG>(answer.line), gModuleName.View(), answer.sourceName, answer.procName,
                         stackTrace, answer.noProcFound, answer.noLineNumber, answer.exactAddress);
}

LONG_PTR FaultscribeClass::_GetModuleHandle(ULONG_PTR address) {
  if (auto getModuleHandleEx =
          BoundProc<GetModuleHandleExAProc>("kernel32", "GetModuleHandleExA", vrGPF::GetModuleHandleExA_Cell)) {
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

crash::SymbolText FaultscribeClass::_GetModuleName(LONG_PTR module) {
  char path[256];
  DWORD n = GetModuleFileNameA(reinterpret_cast<HMODULE>(module), path, 255);
  return crash::SymbolText(std::string_view(path, n > 0 && n < 255 ? n : 0));
}

LONG FaultscribeClass::_LocateDebugSymbols(LONG_PTR module) {
  crash::BoundedText<80> start("LocateDebugSymbols, Start, hModule=");
  _DebugLog(Hex(start, static_cast<ULONG_PTR>(module)).Append('h').View(), 0);
  crash::SymbolText path = _GetModuleName(module);
  crash::RecordFile file;
  crash::DebugDirectory directory;
  DirectoryLog log(*this);
  if (!file.Open(path.CStr()) || !crash::FindDebugDirectory(file, directory, &log)) {
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
  char own[261];
  DWORD ownLength = GetModuleFileNameA(nullptr, own, sizeof own);
  std::string_view program =
      ownLength > 0 && ownLength < sizeof own ? std::string_view(own, ownLength) : FileName.Clipped();
  crash::SymbolText version;
  if (moduleName != program) version = _GetDLLVersion(crash::SymbolText(moduleName).CStr());
  crash::LineInfo info{line, moduleName, sourceName, procName, stackTrace == 1, noProcFound == 1,
                       noLineNumber == 1, exactAddress == 1, program, version.View()};
  char text[crash::kLineInfoSize];
  std::size_t length = crash::FormatLineInfo(labels, info, text);
  return crash::SymbolText(std::string_view(text, length));
}

void FaultscribeClass::_StackDetails(EXCEPTION_POINTERS* pointers, ULONG_PTR process, crash::ReportText& trace) {
  _DebugLog("StackDetails, Start", 0);
  const CONTEXT& context = *pointers->ContextRecord;
  SaveESP = context.Rsp;
  SaveEBP = context.Rbp;
  StackLevel = 0;
  STACKFRAME64 frame{};
  frame.AddrPC = {context.Rip, 0, AddrModeFlat};
  frame.AddrFrame = {context.Rbp, 0, AddrModeFlat};
  frame.AddrStack = {context.Rsp, 0, AddrModeFlat};
  MachineType = IMAGE_FILE_MACHINE_AMD64;

  auto stackWalk = BoundProc<StackWalk64Proc>("dbghelp.dll", "StackWalk64", vrGPF::StackWalk64_Cell);
  auto tableAccess = BoundProc<SymFunctionTableAccess64Proc>("dbghelp.dll", "SymFunctionTableAccess64",
                                                             vrGPF::SymFunctionTableAccess64_Cell);
  auto moduleBase =
      BoundProc<SymGetModuleBase64Proc>("dbghelp.dll", "SymGetModuleBase64", vrGPF::SymGetModuleBase64_Cell);
  if (stackWalk == nullptr || tableAccess == nullptr || moduleBase == nullptr) return;
  HThread = GetCurrentThread();

  CONTEXT walked = context;
  for (;;) {
    if (!stackWalk(MachineType, reinterpret_cast<HANDLE>(process), HThread, &frame, &walked, nullptr, tableAccess,
                   moduleBase, nullptr))
      break;
    if (frame.AddrFrame.Offset == 0) {
      trace.Append(kCrLf).Append(TextForStackCorrupt.Clipped());
      break;
    }
    crash::BoundedText<160> line("StackDetails used StackWalk64, sf.AddrFrame.offset.low=");
    Hex(line, frame.AddrFrame.Offset).Append("h sf.AddrPC.offset.low=");
    _DebugLog(Hex(line, frame.AddrPC.Offset).Append('h').View(), 0);
    if (StackLevel == 0) {
      trace.Append(kCrLf).Append(ShowDetails == 1 ? TextForStackDump.Clipped() : TextForStackTrace.Clipped());
      // The first frame's end is where the walk found it: on this machine the frame-pointer
      // register need not hold one.
      SaveEBP = frame.AddrFrame.Offset;
      _StackDump(SaveESP, SaveEBP, 0, trace);
    } else {
      if (ShowDetails != 1) {
        trace.Append(kCrLf).Append('[');
        AppendLevel(trace, StackLevel);
        Hex(trace.Append("] "), frame.AddrPC.Offset).Append("h \t");
        // One byte back from the return address lies inside the call, whatever its length.
        trace.Append(_GetSymbol(frame.AddrPC.Offset - 1, 1).View());
      }
      _StackDump(LastESP, frame.AddrFrame.Offset, StackLevel, trace);
    }
    if (++StackLevel > kMostLevel) {
      trace.Append(kCrLf).Append(TextForStackTraceStopped.Clipped());
      break;
    }
    ++LevelsDone;
    if (WaitWindowOpen == 1) crash::ShowLevelsDone(LevelsDone);
    if (Windows98 == 1 && (frame.AddrReturn.Offset >> 32) != 0) break;
  }
}

void FaultscribeClass::_StackDump(ULONG_PTR start, ULONG_PTR end, LONG level, crash::ReportText& dump) {
  _DebugLog("StackDump Start", 0);
  if (end == 0) {
    dump.Append(TextForEBPError.Clipped());
    _DebugLog("StackDump End", 0);
    return;
  }
  const StackRange stack = StackAround(start);
  const std::string_view lineLabel = TextForLine.Clipped();
  for (ULONG_PTR p = start; p + 8 <= end && stack.Holds(p); p += 8) {
    std::uint64_t v = 0;
    stack.Read(p, v);
    if (ShowDetails == 1) Hex(Hex(dump.Append(kCrLf).Append('\t'), p).Append("h "), v).Append('h');
    crash::SymbolText s = _GetSymbol(v - 1, 1);
    if (s.Length() > lineLabel.size() && s.View().starts_with(lineLabel)) {
      if (ShowDetails == 1) dump.Append(" ??? ").Append(s.View());
      else Hex(dump.Append(kCrLf).Append("??? "), v).Append("h \t").Append(s.View());
    }
  }
  // Beyond the stack the frame cannot be read: the scan ends there.
  std::uint64_t savedFrame = 0, returnAddress = 0;
  bool readable = stack.Read(end, savedFrame) && stack.Read(end + 8, returnAddress);
  crash::BoundedText<80> line("StackDump Here 1 pEnd=");
  _DebugLog(line.AppendDecimal(static_cast<std::int64_t>(end)).View(), 0);
  if (readable) {
    if (ShowDetails == 1) Hex(Hex(dump.Append(kCrLf).Append('\t'), end).Append("h "), savedFrame).Append("h EBP");
    line.Clear();
    _DebugLog(line.Append("StackDump Here 2 StackValue=").AppendDecimal(static_cast<std::int64_t>(savedFrame)).View(), 0);
    PreviousEBP = savedFrame;
    _DebugLog("StackDump Here 3", 0);
    if (ShowDetails == 1) {
      dump.Append(kCrLf);
      if (returnAddress != 0) {
        dump.Append('[');
        AppendLevel(dump, level + 1);
        dump.Append("]");
      }
      Hex(Hex(dump.Append('\t'), end + 8).Append("h "), returnAddress).Append("h RET");
      if (returnAddress != 0) dump.Append(' ').Append(_GetSymbol(returnAddress - 1, 1).View());
    }
    PreviousEIP = returnAddress;
  }
  LastESP = end + 16;
  _DebugLog("StackDump End", 0);
}

void FaultscribeClass::LookupAddress() { crash::RunLookupAddressWindow(*this); }

namespace crash {

void PrepareStackWalk() {
  // Everything the walk binds is bound now, outside any fault: the provider (and libunwind
  // behind it) loaded and tried once, the cells filled, the module list read.
  win::OfferDebugHelp();
  kx_ProcCell* const cells[] = {&vrGPF::SymSetOptions_Cell, &vrGPF::SymInitialize_Cell, &vrGPF::StackWalk64_Cell,
                                &vrGPF::SymFunctionTableAccess64_Cell, &vrGPF::SymGetModuleBase64_Cell};
  const char* const names[] = {"SymSetOptions", "SymInitialize", "StackWalk64", "SymFunctionTableAccess64",
                               "SymGetModuleBase64"};
  for (std::size_t i = 0; i < std::size(cells); ++i) kx_LoadDLLProc("dbghelp.dll", names[i], *cells[i]);
  kx_LoadDLLProc("kernel32", "GetModuleHandleExA", vrGPF::GetModuleHandleExA_Cell);
  win::TakeModuleSnapshot();
}

void AppendStackTrace(FaultscribeClass& reporter, EXCEPTION_POINTERS* pointers, ReportText& report) {
  auto setOptions = BoundProc<SymSetOptionsProc>("dbghelp.dll", "SymSetOptions", vrGPF::SymSetOptions_Cell);
  if (setOptions == nullptr) {
    report.Append(kCrLf).Append(reporter.TextForDLLMissing.Clipped());
    return;
  }
  setOptions(SYMOPT_DEFERRED_LOADS | SYMOPT_LOAD_ANYTHING);
  auto initialize = BoundProc<SymInitializeProc>("dbghelp.dll", "SymInitialize", vrGPF::SymInitialize_Cell);
  if (initialize == nullptr) return;
  std::string_view version = WinVersionText().substr(0, 6);
  bool windows98 = version.size() == 6;
  for (std::size_t i = 0; i < version.size(); ++i)
    windows98 = windows98 && std::toupper(static_cast<unsigned char>(version[i])) == "WIN 98"[i];
  ULONG_PTR process;
  if (windows98) {
    reporter.Windows98 = 1;
    process = GetCurrentProcessId();
  } else {
    process = reinterpret_cast<ULONG_PTR>(GetCurrentProcess());
  }
  if (!initialize(reinterpret_cast<HANDLE>(process), nullptr, TRUE)) return;
  if (windows98) process = reinterpret_cast<ULONG_PTR>(GetCurrentProcess());
  reporter._StackDetails(pointers, process, report);
}

}  // namespace crash
