// Format, the trace: capture the faulting thread's stack once, then write each level from the
// capture, its procedure through _GetSymbol and its frame through _StackDump. Everything here
// may run inside the fault handler: fixed buffers, procedures bound ahead of the fault.
#include "crash/report/faultscribe_trace.h"

#include <limits>

#include "crash/bound_procs.h"
#include "crash/capture/stack_capture.h"
#include "crash/report/prepared_texts.h"
#include "crash/resolve/faultscribe_symbols.h"
#include "platform/win/modules/debug_help.h"
#include "platform/win/system/ascii_text.h"

namespace {

constexpr std::string_view kCrLf = "\r\n";
constexpr LONG kMostLevel = crash::kMostLevels - 1;

// The stack walk's state: the capture of the fault's stack, which the scans read.
crash::StackCapture gCapture;
ULONG_PTR SaveESP = 0, SaveEBP = 0;
LONG StackLevel = 0;
HANDLE HThread = nullptr;

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

// The words from `start` while a whole word lies before `end`: each that names a source line
// (a return address, most likely) gets a "???" line, every word one with ShowDetails. Stops after
// `mostLines` such lines, or where the capture ends; true when it stopped for the lines.
bool ScanWords(FaultscribeClass& r, ULONG_PTR start, ULONG_PTR end, std::size_t mostLines, crash::ReportText& dump) {
  const std::string_view lineLabel = r.TextForLine.Clipped();
  std::size_t lines = 0;
  std::uint64_t v = 0;
  for (ULONG_PTR p = start; p + 8 <= end && gCapture.Word(p, v); p += 8) {
    if (lines == mostLines) return true;
    if (r.ShowDetails == 1) Hex(Hex(dump.Append(kCrLf).Append('\t'), p).Append("h "), v).Append('h');
    crash::SymbolText s = r._GetSymbol(v - 1, 1);
    if (s.Length() > lineLabel.size() && s.View().starts_with(lineLabel)) {
      ++lines;
      if (r.ShowDetails == 1) dump.Append(" ??? ").Append(s.View());
      else Hex(dump.Append(kCrLf).Append("??? "), v).Append("h \t").Append(s.View());
    }
  }
  return false;
}

void LogLevel(FaultscribeClass& r, const crash::CapturedFrame& frame) {
  crash::BoundedText<160> line("StackDetails used StackWalk64, sf.AddrFrame.offset.low=");
  Hex(line, frame.frame).Append("h sf.AddrPC.offset.low=");
  r._DebugLog(Hex(line, frame.pc).Append('h').View(), 0);
}

void LevelDone(FaultscribeClass& r) {
  ++r.LevelsDone;
  if (r.WaitWindowOpen == 1 && r.LevelProgress != nullptr) r.LevelProgress(r.LevelsDone);
}

// The trace from the capture: level 0's scan, then each caller's line and scan, 31 levels at
// most. When the walk could not leave level 0, the scan of the whole stack above the fault
// stands in for it, as long as 31 levels would be.
void AppendTrace(FaultscribeClass& r, crash::ReportText& trace) {
  const std::string_view heading = r.ShowDetails == 1 ? r.TextForStackDump.Clipped() : r.TextForStackTrace.Clipped();
  if (gCapture.Stuck()) {
    if (gCapture.Count() == 1) LogLevel(r, gCapture.Frame(0));
    trace.Append(kCrLf).Append(heading);
    if (ScanWords(r, SaveESP, gCapture.WordsEnd(), crash::kMostLevels, trace))
      trace.Append(kCrLf).Append(r.TextForStackTraceStopped.Clipped());
    LevelDone(r);
    return;
  }
  for (std::size_t i = 0; i < gCapture.Count(); ++i) {
    const crash::CapturedFrame& frame = gCapture.Frame(i);
    LogLevel(r, frame);
    if (StackLevel == 0) {
      trace.Append(kCrLf).Append(heading);
      // The first frame's end is where the walk found it: on this machine the frame-pointer
      // register need not hold one.
      SaveEBP = frame.frame;
      r._StackDump(SaveESP, SaveEBP, 0, trace);
    } else {
      if (r.ShowDetails != 1) {
        trace.Append(kCrLf).Append('[');
        AppendLevel(trace, StackLevel);
        Hex(trace.Append("] "), frame.pc).Append("h \t");
        // One byte back from the return address lies inside the call, whatever its length.
        trace.Append(r._GetSymbol(frame.pc - 1, 1).View());
        crash::AppendLookupDetails(r, trace);
      }
      r._StackDump(r.LastESP, frame.frame, StackLevel, trace);
    }
    if (++StackLevel > kMostLevel) {
      trace.Append(kCrLf).Append(r.TextForStackTraceStopped.Clipped());
      return;
    }
    LevelDone(r);
  }
  if (gCapture.Corrupt()) trace.Append(kCrLf).Append(r.TextForStackCorrupt.Clipped());
}

}  // namespace

void FaultscribeClass::_StackDetails(EXCEPTION_POINTERS* pointers, ULONG_PTR process, crash::ReportText& trace) {
  _DebugLog("StackDetails, Start", 0);
  const CONTEXT& context = *pointers->ContextRecord;
  SaveESP = context.Rsp;
  SaveEBP = context.Rbp;
  StackLevel = 0;
  crash::StackWalkProcs procs;
  // "dbghelp.dll" is our own stack walk over libunwind, platform/win/modules/debug_help.cpp.
  procs.walk = crash::BoundProc<StackWalk64Proc>("dbghelp.dll", "StackWalk64", vrGPF::StackWalk64_Cell);
  procs.functionTableAccess = crash::BoundProc<SymFunctionTableAccess64Proc>(
      "dbghelp.dll", "SymFunctionTableAccess64", vrGPF::SymFunctionTableAccess64_Cell);
  procs.moduleBase =
      crash::BoundProc<SymGetModuleBase64Proc>("dbghelp.dll", "SymGetModuleBase64", vrGPF::SymGetModuleBase64_Cell);
  if (procs.walk == nullptr || procs.functionTableAccess == nullptr || procs.moduleBase == nullptr) return;
  HThread = GetCurrentThread();
  procs.process = reinterpret_cast<HANDLE>(process);
  procs.thread = HThread;
  procs.endAtHighReturn = Windows98 == 1;
  gCapture.Take(context, procs);
  AppendTrace(*this, trace);
}

void FaultscribeClass::_StackDump(ULONG_PTR start, ULONG_PTR end, LONG level, crash::ReportText& dump) {
  _DebugLog("StackDump Start", 0);
  if (end == 0) {
    dump.Append(TextForEBPError.Clipped());
    _DebugLog("StackDump End", 0);
    return;
  }
  ScanWords(*this, start, end, std::numeric_limits<std::size_t>::max(), dump);
  // Beyond the captured stack the frame cannot be read: the scan ends there.
  std::uint64_t savedFrame = 0, returnAddress = 0;
  bool readable = gCapture.Word(end, savedFrame) && gCapture.Word(end + 8, returnAddress);
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

namespace crash {

void PrepareStackWalk() {
  // The provider (and libunwind behind it) is loaded and tried once now, the cells filled.
  win::OfferDebugHelp();
  kx_ProcCell* const cells[] = {&vrGPF::SymSetOptions_Cell, &vrGPF::SymInitialize_Cell, &vrGPF::StackWalk64_Cell,
                                &vrGPF::SymFunctionTableAccess64_Cell, &vrGPF::SymGetModuleBase64_Cell};
  const char* const names[] = {"SymSetOptions", "SymInitialize", "StackWalk64", "SymFunctionTableAccess64",
                               "SymGetModuleBase64"};
  for (std::size_t i = 0; i < std::size(cells); ++i) kx_LoadDLLProc("dbghelp.dll", names[i], *cells[i]);
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
  const bool windows98 = win::StartsWithNoCase(WinVersionText(), "WIN 98");
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
  AppendLibraryBuildIds(reporter, report);
}

}  // namespace crash
