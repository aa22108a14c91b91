#pragma once
// The one sentence that tells the user the report file was not written, and why. The
// faulting process sends the reason (report_file.h); the presenting process puts the
// sentence into the first box, the details box and the mail.
#include <string>
#include <string_view>

namespace crash {
// Empty for reason 0.
std::string ReportFileProblem(std::string_view dumpFileName, int reason);
}  // namespace crash
