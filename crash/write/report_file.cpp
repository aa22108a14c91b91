#include "crash/write/report_file.h"

#include <cerrno>

#include "crash/report/faultscribe_report.h"
#include "crash/write/text_file.h"

namespace crash {

int WriteReportFile(const FaultscribeClass& reporter, const ReportText& report) {
  // The name is blank only when the program's own path left no room for it.
  if (reporter.DumpFileName.IsBlank()) return ENAMETOOLONG;
  PathText path(reporter.DumpFileName.Clipped());
  std::string_view text = ReportFileText(report);
  if (reporter.DumpFileAppend == 1) return WriteTextFile(path.CStr(), {"\r\n\r\n", text}, true);
  return WriteTextFile(path.CStr(), {text}, false);
}

}  // namespace crash
