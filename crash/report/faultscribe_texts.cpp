// The texts of the report: the file names, the labels' defaults, the exception names and the
// messages left on the faulting stack. All of them run inside the fault handler: no heap.
#include <unistd.h>


#include "crash/faultscribe.h"
#include "crash/write/text_file.h"
#include "platform/win/files/write_all.h"
#include "platform/win/modules/module_file_name.h"
#include "platform/win/modules/own_memory.h"
#include "platform/win/system/ascii_text.h"

namespace {

struct ExceptionName {
  ULONG code;
  std::string_view name;
};

constexpr ExceptionName kExceptionNames[] = {
    {0xC0000005, "EXCEPTION_ACCESS_VIOLATION"},       {0x80000002, "EXCEPTION_DATATYPE_MISALIGNMENT"},
    {0x80000003, "EXCEPTION_BREAKPOINT"},             {0x80000004, "EXCEPTION_SINGLE_STEP"},
    {0xC000008C, "EXCEPTION_ARRAY_BOUNDS_EXCEEDED"},  {0xC000008D, "EXCEPTION_FLT_DENORMAL_OPERAND"},
    {0xC000008E, "EXCEPTION_FLT_DIVIDE_BY_ZERO"},     {0xC000008F, "EXCEPTION_FLT_INEXACT_RESULT"},
    {0xC0000090, "EXCEPTION_FLT_INVALID_OPERATION"},  {0xC0000091, "EXCEPTION_FLT_OVERFLOW"},
    {0xC0000092, "EXCEPTION_FLT_STACK_CHECK"},        {0xC0000093, "EXCEPTION_FLT_UNDERFLOW"},
    {0xC0000094, "EXCEPTION_INT_DIVIDE_BY_ZERO"},     {0xC0000095, "EXCEPTION_INT_OVERFLOW"},
    {0xC0000096, "EXCEPTION_PRIV_INSTRUCTION"},       {0xC0000006, "EXCEPTION_IN_PAGE_ERROR"},
    {0xC000001D, "EXCEPTION_ILLEGAL_INSTRUCTION"},    {0xC0000025, "EXCEPTION_NONCONTINUABLE_EXCEPTION"},
    {0xC00000FD, "EXCEPTION_STACK_OVERFLOW"},         {0xC0000026, "EXCEPTION_INVALID_DISPOSITION"},
    {0x80000001, "EXCEPTION_GUARD_PAGE"},             {0xC0000008, "EXCEPTION_INVALID_HANDLE"},
};

template <std::size_t N>
void Default(crash::FixedString<N>& property, std::string_view text) {
  if (property.IsBlank()) property = text;
}

bool TextAt(ULONG_PTR address, std::string_view expected) {
  char text[32];
  std::size_t n = win::ReadOwnText(address, text, expected.size());
  return std::string_view(text, n) == expected;
}

// The program's path up to the ".EXE" (else ".DLL"), in any case, then `suffix`; a Linux program
// has neither and keeps its whole path. A name too long for any path is left blank, so that
// nothing is written to a file of a cut name.
template <std::size_t N>
void DeriveName(crash::FixedString<N>& property, std::string_view stem, std::string_view suffix) {
  crash::PathText name;
  name.Append(stem).Append(suffix);
  property = stem.size() + suffix.size() < crash::kMostPath ? name.View() : std::string_view();
}

std::size_t StemLength(std::string_view path) {
  for (std::string_view extension : {".EXE", ".DLL"}) {
    for (std::size_t i = 0; i + extension.size() <= path.size(); ++i) {
      if (win::StartsWithNoCase(path.substr(i), extension)) return i;
    }
  }
  return path.size();
}

}  // namespace

void FaultscribeClass::_SetFileNames() {
  char path[crash::kMostPath + 1];
  DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  if (length == 0 || length >= sizeof path) {
    // A program that cannot name its own file cannot name its report: the process ends
    // here, saying why (the window system is not used in the faulting process).
    std::string_view known(path, length < sizeof path ? length : 0);
    (void)win::WriteAll(STDERR_FILENO, {"ModuleName not found : ", known, "\n"});
    ::_exit(1);
  }
  const std::string_view whole(path, length);
  const std::string_view stem = whole.substr(0, StemLength(whole));
  if (DumpFileName.IsBlank()) DeriveName(DumpFileName, stem, " Faultscribe report.txt");
  DeriveName(DebugEmailFileName, stem, " DebugEmail.txt");
  DeriveName(DebugLogFileName, stem, " DebugLog.txt");
  FileName = whole;
}

void FaultscribeClass::_InitReportText() {
  std::string_view message = RestartProgram == 1
                                 ? "This program has performed an illegal operation and will now be restarted."
                                 : "This program has performed an illegal operation and will now end.";
  Default(TextForMessage1, message);
  Default(TextForMessage2, message);
  Default(TextForOkButton, "&OK");
  Default(TextForDetailsButton, "&Details");
  Default(TextForEmailButton, "&Email Report");
  Default(TextForPasteInstructions, "Edit|Paste the report here (CTL+V) or attach the logfile.");
  Default(TextForProgram, "Program");
  Default(TextForVersion, "Version");
  Default(TextForDate, "on");
  Default(TextForWorkstation, "Workstation:");
  Default(TextForUserName, "User Name:");
  Default(TextForReportedError, "Reported error");
  Default(TextForAccessViolation, "EXCEPTION_ACCESS_VIOLATION");
  Default(TextForErrorReadingData, "Error reading data at");
  Default(TextForErrorWritingData, "Error writing data at");
  Default(TextForOS, "Windows");
  Default(TextForRuntime, "Boxwright runtime");
  Default(TextForThread, "Thread");
  Default(TextForErrorAtAddress, "Error at address");
  Default(TextForStackTrace, "Stack Trace");
  Default(TextForDLLMissing,
          "Please copy DBGHELP.DLL into the application directory.\r\n"
          "This will enable Faultscribe to provide more information (Win98/NT only).");
  Default(TextForStackCorrupt, "*** Error Stack corrupt ***");
  Default(TextForEnd, "END");
  Default(TextForPart, "PART");
  Default(TextForLine, "Line");
  Default(TextForSrc, "Src");
  Default(TextForModule, "Module");
  Default(TextForDebugInfoNotFound, "no debug info");
  Default(TextForModuleNotFound, "no module");
  Default(TextForTime, "At");
  Default(DateFormat, "@d10");
  Default(TextForStackTraceStopped, "Stack Trace stopped, too many levels");
  Default(TextForLineNotFound, "no line number");
  Default(TextForPleaseWait, "Please wait, reading debug information.");
  Default(TextForStackDump, "Stack Dump");
  Default(TextForPleaseWait2, "Please wait, loading email program.");
  Default(TextForField, "Field");
  Default(TextForEvent, "Event");
  Default(TextForKeycode, "Keycode");
  Default(TextForProc, "Proc");
  Default(TextForTopWindow, "Top Window");
  Default(TextForTruncated, "***Truncated***");
  Default(TextForNoProc, "no proc");
  Default(TextForAssertString, "Assert String");
  Default(TextForOtherMessageString, "Runtime Message");
  Default(TextForEBPError, "Error EBP=0, registers corrupt");
}

crash::ShortText FaultscribeClass::_LookupExceptionCode(ULONG code) {
  for (const ExceptionName& each : kExceptionNames) {
    if (each.code == code) return crash::ShortText(each.name);
  }
  crash::ShortText unknown("Unknown ExceptionCode=");
  unknown.AppendHex(code, 8).Append('h');
  return unknown;
}

ULONG_PTR FaultscribeClass::_GetAssert(ULONG_PTR stackPointer, ULONG_PTR framePointer) {
  if (framePointer <= stackPointer || framePointer - stackPointer <= 70) return 0;
  return TextAt(stackPointer + 60, "Assertion") ? stackPointer + 60 : 0;
}

ULONG_PTR FaultscribeClass::_GetOtherMessage(ULONG_PTR stackPointer, ULONG_PTR framePointer) {
  if (framePointer <= stackPointer || framePointer - stackPointer <= 70) return 0;
  return TextAt(stackPointer + 44, "Index out of range") ? stackPointer + 44 : 0;
}

void FaultscribeClass::DeleteDumpFile() {
  _SetFileNames();
  crash::PathText path(DumpFileName.Clipped());
  crash::DeleteTextFile(path.CStr());
}

LONG FaultscribeClass::_FindLinePosition(std::string_view text, LONG lineNumber) {
  LONG seen = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && ++seen == lineNumber) return static_cast<LONG>(i);
  }
  return 0;
}

