// The trace log, which follows the reporter's own progress through a fault: every stage may
// write a line, so it depends on none of them.
#include "crash/faultscribe.h"
#include "crash/write/text_file.h"

void FaultscribeClass::_DebugLog(std::string_view text, BYTE firstLine) {
  if (DebugLogEnabled != 1) return;
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  crash::PathText path(DebugLogFileName.Clipped());
  crash::WriteTextFile(path.CStr(), {text, "\r\n"}, firstLine != 1);
}
