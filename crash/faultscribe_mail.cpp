// The mail hand-off, the command and the restart after a report; they run in the presenting
// process. Not built yet: the Email choice says so in a box (the report stays in its file),
// and a command or restart asked for is not carried out, which the debug output says.
#include <string>

#include "crash/faultscribe.h"
#include "platform/rt/dialogs.h"
#include "platform/win/debug_output.h"

std::string FaultscribeClass::_EncodeEmail(std::string_view text) { return std::string(text); }

LONG FaultscribeClass::_FindFirstBreak(std::string_view, LONG) { return 0; }

void FaultscribeClass::SendReport(std::string_view) {
  std::string text = "The report cannot be sent by e-mail from this version of the program.";
  text += "\r\nIt has been saved in the file " + std::string(DumpFileName.Clipped()) + ".";
  MESSAGE(text, WindowTitle.Clipped(), ICON::Exclamation);
}

void FaultscribeClass::_ExecuteCommands() {
  if (!ExecuteCommand.IsBlank()) {
    OutputDebugStringA(("Faultscribe: the command after a fault is not run by this version: " +
                        std::string(ExecuteCommand.Clipped())).c_str());
  }
  if (RestartProgram == 1) _RestartProgram();
}

void FaultscribeClass::_RestartProgram() {
  OutputDebugStringA("Faultscribe: restarting after a fault is not done by this version");
}
