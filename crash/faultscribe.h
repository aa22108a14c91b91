#pragma once
// FaultscribeClass: the program's fault catcher. Constructing the object makes it the
// process's unhandled-exception filter and the runtime's last-chance hook; a fault that
// reaches either is reported once (report file, message boxes, mail) and ends the process.
//
// A derived class sets the properties in Initialize and may add text in ExtraReportText.
// Texts are blank-padded fields (FixedString); a "TextFor" property left blank gets its
// default at fault time. Values that hold an address are pointer-sized.
//
// The report is written inside the faulting process without the heap, in one direction:
// capture (the stack's frames and words, stack_capture.h) -> resolve (the debug records,
// faultscribe_symbols.cpp) -> format (the report text, faultscribe_report.h, and its trace,
// faultscribe_trace.cpp) -> write (report_file.h) -> present. Everything that needs the window
// system (the wait window, the boxes, the mail, the command, the restart) runs in a presenting
// process of the program itself (presenter.h). Each virtual operation is the stage's own step,
// so a derived class's override takes part wherever the design calls the operation.
#include <atomic>
#include <string>
#include <string_view>
#include <type_traits>

#include "crash/fixed_text.h"
#include "platform/win/modules/exception_records.h"
#include "platform/win/modules/library.h"
#include "platform/win/types.h"
#include "toolkit/dll_binding.h"

namespace rt {
class IExceptionInfo;
}

namespace crash {
using ReportText = BoundedText<20000>;  // the report, and the mail buffer
using SymbolText = BoundedText<256>;    // one symbol text
using ShortText = BoundedText<64>;      // an exception name
}  // namespace crash

// The reporter's properties, in their designed order. The presenting process receives them
// as the bytes of this one structure, so every property is plain data kept here.
struct FaultscribeProperties {
  template <std::size_t N>
  using STRING = crash::FixedString<N>;
  using TEXTFOR = STRING<50>;

  STRING<crash::kMostPath> DumpFileName;  // the design had 260: a path of any length here
  STRING<160> FileName;
  LONG_PTR DebugDataModuleHandle = 0;
  ULONG DebugDataOffset = 0;
  LONG DebugDataSize = 0;
  STRING<256> EmailAddress;
  BYTE Logging = 0;
  STRING<250> WindowTitle;
  STRING<250> VersionNumber;
  STRING<250> Workstation;
  STRING<250> UserName;
  BYTE Disable = 0;
  BYTE IgnoreThisException = 0;
  BYTE CloseQuietly = 0;
  BYTE Windows98 = 0;
  BYTE SplitEmail = 0;
  STRING<500> ReportText;
  BYTE SkipInitialMessage = 0;
  BYTE DumpFileAppend = 0;
  STRING<255> TextForMessage1;
  STRING<255> TextForMessage2;
  TEXTFOR TextForOkButton;
  TEXTFOR TextForDetailsButton;
  TEXTFOR TextForEmailButton;
  STRING<255> TextForPasteInstructions;
  TEXTFOR TextForProgram;
  TEXTFOR TextForVersion;
  TEXTFOR TextForDate;
  TEXTFOR TextForWorkstation;
  TEXTFOR TextForUserName;
  TEXTFOR TextForReportedError;
  TEXTFOR TextForAccessViolation;
  TEXTFOR TextForErrorReadingData;
  TEXTFOR TextForErrorWritingData;
  TEXTFOR TextForOS;
  TEXTFOR TextForRuntime;
  TEXTFOR TextForThread;
  TEXTFOR TextForErrorAtAddress;
  TEXTFOR TextForStackTrace;
  STRING<255> TextForDLLMissing;
  TEXTFOR TextForStackCorrupt;
  TEXTFOR TextForEnd;
  TEXTFOR TextForPart;
  TEXTFOR TextForLine;
  TEXTFOR TextForSrc;
  TEXTFOR TextForModule;
  TEXTFOR TextForDebugInfoNotFound;
  TEXTFOR TextForModuleNotFound;
  TEXTFOR TextForTime;
  STRING<20> DateFormat;
  TEXTFOR TextForExtraInfo;
  TEXTFOR TextForStackTraceStopped;
  TEXTFOR TextForLineNotFound;
  STRING<500> ExecuteCommand;
  BYTE RestartProgram = 0;
  STRING<128> TextForPleaseWait;
  BYTE JustEmail = 0;
  ULONG_PTR LastESP = 0;
  ULONG_PTR PreviousEBP = 0;
  ULONG_PTR PreviousEIP = 0;
  BYTE ShowDetails = 0;
  TEXTFOR TextForStackDump;
  TEXTFOR TextForPleaseWait2;
  TEXTFOR TextForField;
  TEXTFOR TextForEvent;
  TEXTFOR TextForKeycode;
  TEXTFOR TextForProc;
  LONG LevelsDone = 0;
  TEXTFOR TextForTopWindow;
  TEXTFOR TextForTruncated;
  BYTE DebugEmail = 0;
  STRING<crash::kMostPath> DebugEmailFileName;  // 256 in the design, as DumpFileName
  LONG MaxMessageBoxLines = 0;
  BYTE DebugLogEnabled = 0;
  STRING<crash::kMostPath> DebugLogFileName;    // 256 in the design, as DumpFileName
  TEXTFOR TextForNoProc;
  BYTE AlwaysPasteEmail = 0;
  TEXTFOR TextForAssertString;
  TEXTFOR TextForOtherMessageString;
  BYTE WaitWindowOpen = 0;
  TEXTFOR TextForEBPError;
  BYTE WaitWinEnabled = 0;
};
static_assert(std::is_trivially_copyable_v<FaultscribeProperties>,
              "the properties cross to the presenting process as bytes");

class FaultscribeClass : public FaultscribeProperties {
 public:
  // Not a property: where the trace tells each level it has done while the wait window shows
  // the count (WaitWindowOpen). The fault sequence points it at the presenting process.
  void (*LevelProgress)(LONG levelsDone) = nullptr;

  FaultscribeClass() = default;
  FaultscribeClass(const FaultscribeClass&) = delete;
  FaultscribeClass& operator=(const FaultscribeClass&) = delete;
  virtual ~FaultscribeClass();

  // Calls Initialize, then installs the object as the filter and the last-chance hook.
  void Construct();
  // The object stops handling faults: a later fault is left to the system.
  void Destruct();

  // The virtual operations, in their designed slot order. Resolve (faultscribe_symbols.cpp):
  // the debug-record look-up of an address; format, trace (faultscribe_trace.cpp): the walk's
  // capture made into the trace; format, report (faultscribe_texts.cpp): the report's texts;
  // the fault sequence itself (faultscribe_sequence.cpp); the mail (faultscribe_mail.cpp), in
  // the presenting process, where it may allocate.
  virtual crash::SymbolText _GetSymbol(ULONG_PTR address, BYTE stackTrace);  // 0
  virtual crash::ShortText _LookupExceptionCode(ULONG code);                // 1
  virtual LONG _VectoredExceptionHandler_(EXCEPTION_POINTERS* pointers);    // 2
  // Appends the stack trace to `trace`.
  virtual void _StackDetails(EXCEPTION_POINTERS* pointers, ULONG_PTR process, crash::ReportText& trace);  // 3
  virtual LONG _LocateDebugSymbols(LONG_PTR module);                                          // 4
  virtual void _ReadBlockFromFile(ULONG offset, LONG byteCount, const char* fileName, void* block);  // 5
  virtual crash::PathText _GetModuleName(LONG_PTR module);                                    // 6
  virtual LONG_PTR _GetModuleHandle(ULONG_PTR address);                                       // 7
  virtual void LookupAddress();  // 8 (lookup_address_window.cpp)
  virtual void Initialize();                                                                  // 9
  virtual void FilterExceptions(ULONG code);                                                  // 10
  virtual std::string _EncodeEmail(std::string_view text);         // 11
  virtual LONG _FindFirstBreak(std::string_view text, LONG maxLen);  // 12
  virtual void ExtraReportText();                                  // 13
  virtual crash::SymbolText _GetDLLVersion(const char* fileName);  // 14
  virtual void _SetFileNames();                                    // 15
  virtual void DeleteDumpFile();                                   // 16
  virtual void _InitReportText();                                  // 17
  virtual void _ExecuteCommands();                                 // 18
  // Appends the scan of one stack frame (the words the capture holds) to `dump`.
  virtual void _StackDump(ULONG_PTR start, ULONG_PTR end, LONG level, crash::ReportText& dump);  // 19
  virtual LONG _FindLinePosition(std::string_view text, LONG lineNumber);                         // 20
  virtual void _DebugLog(std::string_view text, BYTE firstLine);  // 21 (faultscribe_log.cpp)
  virtual crash::SymbolText _FormatLineInfo(LONG line, std::string_view moduleName, std::string_view sourceName,
                                            std::string_view procName, BYTE stackTrace, BYTE noProcFound,
                                            BYTE noLineNumber, BYTE exactAddress);  // 22
  virtual ULONG_PTR _GetAssert(ULONG_PTR stackPointer, ULONG_PTR framePointer);        // 23
  virtual ULONG_PTR _GetOtherMessage(ULONG_PTR stackPointer, ULONG_PTR framePointer);  // 24
  virtual void _RestartProgram();                                                      // 25

  // The mail of the report (faultscribe_mail.cpp), from the boxes' Email choice or JustEmail;
  // runs in the presenting process. A stack overflow never opens the wait window. When the
  // report file was not written, `reportFileProblem` says so and why, and the mail carries
  // that sentence and the report itself.
  void SendReport(std::string_view report, DWORD exceptionCode, std::string_view reportFileProblem = {});
};

// The module state of the crash reporter: one per process.
namespace vrGPF {
// The handling object; null before Construct and after Destruct.
extern std::atomic<FaultscribeClass*> PointerGPFHandler;
// 1 while a fault is being handled.
extern std::atomic<LONG> AlreadyActive;
// What the last-chance hook hands on: the exception record and the context.
extern EXCEPTION_POINTERS C71Handler;
// Procedures bound at run time, each untried until first needed. They are bound by name
// through LoadLibraryA's table of in-process libraries (platform/win/modules/library.cpp): the code
// behind "dbghelp.dll" is platform/win/modules/debug_help.cpp (libunwind's walk), behind "kernel32"'s
// GetModuleHandleExA platform/win/modules/module_handle.cpp.
extern kx_ProcCell GetModuleHandleExA_Cell;
extern kx_ProcCell SymGetModuleBase64_Cell;
extern kx_ProcCell SymFunctionTableAccess64_Cell;
extern kx_ProcCell StackWalk64_Cell;
extern kx_ProcCell SymInitialize_Cell;
extern kx_ProcCell SymSetOptions_Cell;
}  // namespace vrGPF

// The process's unhandled-exception filter and the runtime's last-chance hook.
LONG VectoredExceptionHandler(EXCEPTION_POINTERS* pointers);
LONG vrLastChanceHook(rt::IExceptionInfo* info);
