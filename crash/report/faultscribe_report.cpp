// The report text, made from the fault's facts, the reporter's labels and its operations (the
// stack trace among them). Inside the fault handler: fixed buffers only.
#include "crash/report/faultscribe_report.h"

#include "crash/report/faultscribe_trace.h"
#include "crash/report/prepared_texts.h"
#include "crash/report/report_pictures.h"
#include "crash/resolve/faultscribe_symbols.h"
#include "platform/rt/props.h"
#include "platform/rt/system.h"
#include "platform/win/modules/own_memory.h"

namespace {

constexpr std::string_view kCrLf = "\r\n";
constexpr std::string_view kSeparator = " : ";
constexpr std::size_t kDroppedFromFile = 120;  // the leading CR LF and 118 of the dashes
constexpr std::size_t kMostStackText = 500;

// Each step of the report begins a line after the text so far, without its trailing blanks:
// a blank value leaves "Version :", not "Version : ".
crash::ReportText& NextStep(crash::ReportText& out) { return out.Clip().Append(kCrLf); }

// Addresses are pointer-sized here: all 16 digits.
void AppendAddress(crash::ReportText& out, std::uint64_t value) { out.AppendHex(value, 16); }

// The NUL-ended text at an address the reporter did not make, read with care.
void AppendForeignText(crash::ReportText& out, ULONG_PTR address) {
  char text[kMostStackText];
  std::size_t n = win::ReadOwnText(address, text, sizeof text);
  out.Append(std::string_view(text, n));
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
  NextStep(out).Append(r.TextForReportedError.Clipped()).Append(kSeparator).Append(r._LookupExceptionCode(er.ExceptionCode).View());
  if (er.NumberParameters >= 2 && er.ExceptionInformation[0] == kSentByProcess) {
    out.Append(" - Signal sent by process ").AppendDecimal(static_cast<std::int64_t>(er.ExceptionInformation[1]));
    out.Append(", not caused by an instruction");
    return;
  }
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

namespace crash {

void BuildReport(FaultscribeClass& r, const FaultFacts& facts, ReportText& out) {
  const EXCEPTION_RECORD& er = *facts.pointers->ExceptionRecord;
  const CONTEXT& cr = *facts.pointers->ContextRecord;
  r._DebugLog("Before DebugReport", 0);
  out.Clear();
  out.Append(kCrLf);
  for (int i = 0; i < 200; ++i) out.Append('-');
  NextStep(out).Append(r.TextForProgram.Clipped()).Append(kSeparator).Append(r.FileName.Clipped());
  NextStep(out).Append(r.TextForVersion.Clipped()).Append(kSeparator).Append(r.VersionNumber.Clipped());
  BoundedText<64> stamp;
  AppendTime(stamp, facts.clock, "t4");
  stamp.Append(' ').Append(r.TextForDate.Clipped()).Append(' ');
  AppendDate(stamp, facts.today, r.DateFormat.Clipped());
  NextStep(out).Append(r.TextForTime.Clipped()).Append(kSeparator).Append(stamp.View());
  NextStep(out).Append(r.TextForWorkstation.Clipped()).Append(kSeparator).Append(r.Workstation.Clipped());
  NextStep(out).Append(r.TextForUserName.Clipped()).Append(kSeparator).Append(r.UserName.Clipped());
  r._DebugLog("DebugReport 1", 0);
  AppendError(r, er, out);
  r._DebugLog("DebugReport 2", 0);
  NextStep(out).Append(r.TextForOS.Clipped()).Append(kSeparator).Append(WinVersionText());
  NextStep(out).Append(r.TextForRuntime.Clipped()).Append(kSeparator);
  AppendRuntimeVersion(out);
  NextStep(out).Append(r.TextForThread.Clipped()).Append(kSeparator).AppendDecimal(facts.thread);
  out.Append(" \t").Append(r.TextForField.Clipped()).Append(kSeparator).AppendDecimal(facts.field);
  out.Append(" \t").Append(r.TextForEvent.Clipped()).Append(kSeparator).AppendDecimal(facts.event);
  out.Append(" \t").Append(r.TextForKeycode.Clipped()).Append(kSeparator).AppendDecimal(facts.keyCode);

  r._DebugLog("Before call to _GetAssert", 0);
  if (ULONG_PTR text = r._GetAssert(cr.Rsp, cr.Rbp)) {
    r._DebugLog("After call to _GetAssert", 0);
    NextStep(out).Append(r.TextForAssertString.Clipped()).Append(kSeparator);
    AppendForeignText(out, text);
  } else {
    r._DebugLog("Before call to _GetOtherMessage", 0);
    if (ULONG_PTR other = r._GetOtherMessage(cr.Rsp, cr.Rbp)) {
      r._DebugLog("After call to _GetOtherMessage", 0);
      NextStep(out).Append(r.TextForOtherMessageString.Clipped()).Append(kSeparator);
      AppendForeignText(out, other);
    }
  }
  r._DebugLog("DebugReport 3", 0);
  auto address = reinterpret_cast<ULONG_PTR>(er.ExceptionAddress);
  NextStep(out).Append(r.TextForErrorAtAddress.Clipped()).Append(kSeparator);
  AppendAddress(out, address);
  out.Append("h  ").Append(r._GetSymbol(address, 0).View());
  crash::AppendLookupDetails(r, out);
  if (r.ShowDetails == 1) AppendRegisters(cr, out.Clip());
  r._DebugLog("DebugReport 4", 0);
  AppendStackTrace(r, facts.pointers, out.Clip());

  r._DebugLog("Before call to ExtraReportText", 0);
  r.ExtraReportText();
  r._DebugLog("After call to ExtraReportText", 0);
  if (!r.ReportText.IsBlank()) NextStep(out).Append(r.ReportText.Clipped());
}

std::string_view ReportFileText(const ReportText& report) {
  std::string_view text = report.View();
  text.remove_prefix(std::min(text.size(), kDroppedFromFile));
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

}  // namespace crash
