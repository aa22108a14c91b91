#pragma once
// Write: the report file of a fault (DumpFileName), from the report's 121st character on;
// with DumpFileAppend after an empty line below what the file held, else in its place.
// Plain system calls only: the faulting process writes it.
#include <string_view>

#include "crash/faultscribe.h"

namespace crash {
// False when the file could not be written whole.
bool WriteReportFile(const FaultscribeClass& reporter, const ReportText& report);
}  // namespace crash
