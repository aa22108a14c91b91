#include "crash/faultscribe_report.h"

#include <cctype>

#include "crash/fault_path.h"
#include "crash/faultscribe_stack.h"
#include "crash/report_pictures.h"
#include "platform/rt/props.h"
#include "platform/rt/system.h"
#include "platform/win/module_file_name.h"

namespace {

constexpr std::string_view kCrLf = "\r\n";
constexpr std::string_view kSeparator = " : ";
constexpr std::size_t kDroppedFromFile = 120;  // the leading CR LF and 118 of the dashes
constexpr std::size_t kMostStackText = 500;

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

// Addresses are pointer-sized here: all 16 digits.
void AppendAddress(crash::ReportText& out, std::uint64_t value) { out.AppendHex(value, 16); }

// The NUL-ended text at an address the reporter did not make, read with care.
void AppendForeignText(crash::ReportText& out, ULONG_PTR address) {
  char text[kMostStackText];
  std::size_t n = crash::ReadMemory(address, text, sizeof text);
  out.Append(std::string_view(text, n));
}

bool TextAt(ULONG_PTR address, std::string_view expected) {
  char text[32];
  std::size_t n = crash::ReadMemory(address, text, expected.size());
  return std::string_view(text, n) == expected;
}

void AppendRuntimeVersion(crash::ReportText& out) {
  LONG_PTR version = rt::SystemProp(PROP::ExeVersion);
  out.AppendDecimal(version / 1000);
  LONG_PTR fraction = version % 1000;
  if (fraction == 0) return;
  char digits[4] = {static_cast<char>('0' + fraction / 100), static_cast<char>('0' + fraction / 10 % 10),
                    static_cast<char>('0' + fraction % 10), 0};
  std::size_t n = 3;
  while (n > 0 && digits[n - 1] == '0') --n;
  out.Append('.').Append(std::string_view(digits, n));
}

void AppendError(FaultscribeClass& r, const EXCEPTION_RECORD& er, crash::ReportText& out) {
  out.Append(kCrLf).Append(r.TextForReportedError.Clipped()).Append(kSeparator).Append(r._LookupExceptionCode(er.ExceptionCode).View());
  if (er.ExceptionCode == EXCEPTION_ACCESS_VIOLATION) {
    out.Append(" - ");
    out.Append(er.ExceptionInformation[0] != 0 ? r.TextForErrorWritingData.Clipped() : r.TextForErrorReadingData.Clipped());
    out.Append(kSeparator);
    AppendAddress(out, er.ExceptionInformation[1]);
    out.Append('h');
    return;
  }
  out.Append(kCrLf).Append(r.TextForExtraInfo.Clipped()).Append(" : Flags=").AppendHex(er.ExceptionFlags, 8);
  out.Append(" Except2=");
  AppendAddress(out, reinterpret_cast<ULONG_PTR>(er.ExceptionRecord));
  DWORD count = er.NumberParameters < EXCEPTION_MAXIMUM_PARAMETERS ? er.NumberParameters : EXCEPTION_MAXIMUM_PARAMETERS;
  for (DWORD i = 1; i <= count; ++i) {
    out.Append(" [").AppendDecimal(i).Append("]=");
    AppendAddress(out, er.ExceptionInformation[i - 1]);
  }
}

void AppendRegisters(const CONTEXT& c, crash::ReportText& out) {
  struct Named {
    std::string_view name;
    std::uint64_t value;
  };
  const Named lines[4][4] = {
      {{"RAX=", c.Rax}, {"RBX=", c.Rbx}, {"RCX=", c.Rcx}, {"RDX=", c.Rdx}},
      {{"RDI=", c.Rdi}, {"RSI=", c.Rsi}, {"RBP=", c.Rbp}, {"RSP=", c.Rsp}},
      {{"R8=", c.R8}, {"R9=", c.R9}, {"R10=", c.R10}, {"R11=", c.R11}},
      {{"R12=", c.R12}, {"R13=", c.R13}, {"R14=", c.R14}, {"R15=", c.R15}},
  };
  for (const auto& line : lines) {
    out.Append(kCrLf);
    for (std::size_t i = 0; i < 4; ++i) {
      if (i > 0) out.Append(' ');
      out.Append(line[i].name);
      AppendAddress(out, line[i].value);
      out.Append('h');
    }
  }
}

}  // namespace

// --- the operations of the report text ---

void FaultscribeClass::_SetFileNames() {
  char path[261];
  DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  if (length == 0 || length >= sizeof path) {
    // A program that cannot name its own file cannot name its report: the process ends
    // here, saying why (the window system is not used in the faulting process).
    crash::ReportText halt;
    halt.Append("ModuleName not found : ").Append(std::string_view(path, length < sizeof path ? length : 0)).Append('\n');
    crash::WriteTextFile("/dev/stderr", halt.View(), true);
    crash::EndProcess(1);
  }
  std::string_view whole(path, length);
  // ".EXE", else ".DLL", in any case; a Linux program has neither and keeps its whole path.
  std::size_t stem = whole.size();
  for (std::string_view extension : {".EXE", ".DLL"}) {
    for (std::size_t i = 0; i + extension.size() <= whole.size(); ++i) {
      bool same = true;
      for (std::size_t k = 0; k < extension.size() && same; ++k) {
        same = std::toupper(static_cast<unsigned char>(whole[i + k])) == extension[k];
      }
      if (same) {
        stem = i;
        break;
      }
    }
    if (stem != whole.size()) break;
  }
  crash::PathText name;
  if (DumpFileName.IsBlank()) {
    name.Append(whole.substr(0, stem)).Append(" Faultscribe report.txt");
    DumpFileName = name.View();
  }
  name.Clear();
  name.Append(whole.substr(0, stem)).Append(" DebugEmail.txt");
  DebugEmailFileName = name.View();
  name.Clear();
  name.Append(whole.substr(0, stem)).Append(" DebugLog.txt");
  DebugLogFileName = name.View();
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

void FaultscribeClass::_DebugLog(std::string_view text, BYTE firstLine) {
  if (DebugLogEnabled != 1) return;
  crash::ReportText line;
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  line.Append(text).Append(kCrLf);
  crash::PathText path(DebugLogFileName.Clipped());
  crash::WriteTextFile(path.CStr(), line.View(), firstLine != 1);
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

namespace crash {

void BuildReport(FaultscribeClass& r, const FaultFacts& facts, ReportText& out) {
  const EXCEPTION_RECORD& er = *facts.pointers->ExceptionRecord;
  const CONTEXT& cr = *facts.pointers->ContextRecord;
  r._DebugLog("Before DebugReport", 0);
  out.Clear();
  out.Append(kCrLf);
  for (int i = 0; i < 200; ++i) out.Append('-');
  out.Append(kCrLf).Append(r.TextForProgram.Clipped()).Append(kSeparator).Append(r.FileName.Clipped());
  out.Append(kCrLf).Append(r.TextForVersion.Clipped()).Append(kSeparator).Append(r.VersionNumber.Clipped());
  BoundedText<64> stamp;
  AppendTime(stamp, facts.clock, "t4");
  stamp.Append(' ').Append(r.TextForDate.Clipped()).Append(' ');
  AppendDate(stamp, facts.today, r.DateFormat.Clipped());
  out.Append(kCrLf).Append(r.TextForTime.Clipped()).Append(kSeparator).Append(stamp.View());
  out.Append(kCrLf).Append(r.TextForWorkstation.Clipped()).Append(kSeparator).Append(r.Workstation.Clipped());
  out.Append(kCrLf).Append(r.TextForUserName.Clipped()).Append(kSeparator).Append(r.UserName.Clipped());
  r._DebugLog("DebugReport 1", 0);
  AppendError(r, er, out);
  r._DebugLog("DebugReport 2", 0);
  out.Append(kCrLf).Append(r.TextForOS.Clipped()).Append(kSeparator).Append(WinVersionText());
  out.Append(kCrLf).Append(r.TextForRuntime.Clipped()).Append(kSeparator);
  AppendRuntimeVersion(out);
  out.Append(kCrLf).Append(r.TextForThread.Clipped()).Append(kSeparator).AppendDecimal(facts.thread);
  out.Append(" \t").Append(r.TextForField.Clipped()).Append(kSeparator).AppendDecimal(facts.field);
  out.Append(" \t").Append(r.TextForEvent.Clipped()).Append(kSeparator).AppendDecimal(facts.event);
  out.Append(" \t").Append(r.TextForKeycode.Clipped()).Append(kSeparator).AppendDecimal(facts.keyCode);

  r._DebugLog("Before call to _GetAssert", 0);
  if (ULONG_PTR text = r._GetAssert(cr.Rsp, cr.Rbp)) {
    r._DebugLog("After call to _GetAssert", 0);
    out.Append(kCrLf).Append(r.TextForAssertString.Clipped()).Append(kSeparator);
    AppendForeignText(out, text);
  } else {
    r._DebugLog("Before call to _GetOtherMessage", 0);
    if (ULONG_PTR other = r._GetOtherMessage(cr.Rsp, cr.Rbp)) {
      r._DebugLog("After call to _GetOtherMessage", 0);
      out.Append(kCrLf).Append(r.TextForOtherMessageString.Clipped()).Append(kSeparator);
      AppendForeignText(out, other);
    }
  }
  r._DebugLog("DebugReport 3", 0);
  auto address = reinterpret_cast<ULONG_PTR>(er.ExceptionAddress);
  out.Append(kCrLf).Append(r.TextForErrorAtAddress.Clipped()).Append(kSeparator);
  AppendAddress(out, address);
  out.Append("h  ").Append(r._GetSymbol(address, 0).View());
  if (r.ShowDetails == 1) AppendRegisters(cr, out);
  r._DebugLog("DebugReport 4", 0);
  AppendStackTrace(r, facts.pointers, out);

  r._DebugLog("Before call to ExtraReportText", 0);
  r.ExtraReportText();
  r._DebugLog("After call to ExtraReportText", 0);
  if (!r.ReportText.IsBlank()) out.Append(kCrLf).Append(r.ReportText.Clipped());
}

std::string_view ReportFileText(const ReportText& report) {
  std::string_view text = report.View();
  text.remove_prefix(std::min(text.size(), kDroppedFromFile));
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

}  // namespace crash
