#pragma once
// Write: the report file of a fault (DumpFileName), from the report's 121st character on;
// with DumpFileAppend after an empty line below what the file held, else in its place.
// Plain system calls only: the faulting process writes it. Only a regular file is written
// (text_file.h): a link, FIFO, device or folder planted at the name is refused, never
// followed or waited for.
#include <string_view>

#include "crash/faultscribe.h"

namespace crash {
// 0 when the file was written whole; else why not (WriteTextFile's reasons).
int WriteReportFile(const FaultscribeClass& reporter, const ReportText& report);
}  // namespace crash
