#pragma once
// Format: the crash report as the fault sequence builds it, in the faulting process and
// without the heap. FaultFacts is what the sequence took at the start of the fault; the
// stack trace comes from the trace's own stage (faultscribe_trace.h), the symbols from the
// look-up, both through the reporter's operations.
#include "crash/faultscribe.h"

namespace crash {

struct FaultFacts {
  EXCEPTION_POINTERS* pointers;
  LONG today;
  LONG clock;
  LONG thread;
  int field;
  int event;
  int keyCode;
};

// Builds the whole report into `report`: the dash line, the header lines, the error, the
// system lines, the message left on the faulting stack, the error address, the registers
// (ShowDetails), the stack trace, ExtraReportText and ReportText.
void BuildReport(FaultscribeClass& reporter, const FaultFacts& facts, ReportText& report);

// What goes into the report file: the report from its 121st character, without trailing blanks.
std::string_view ReportFileText(const ReportText& report);

}  // namespace crash
