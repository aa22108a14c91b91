#include "crash/report_file.h"

#include "crash/fault_path.h"
#include "crash/faultscribe_report.h"

namespace crash {

bool WriteReportFile(const FaultscribeClass& reporter, const ReportText& report) {
  PathText path(reporter.DumpFileName.Clipped());
  std::string_view text = ReportFileText(report);
  if (reporter.DumpFileAppend == 1) return WriteTextFile(path.CStr(), {"\r\n\r\n", text}, true);
  return WriteTextFile(path.CStr(), {text}, false);
}

}  // namespace crash
