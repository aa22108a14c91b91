#include "app/this_gpf.h"

#include "toolkit/system_info.h"

std::unique_ptr<ThisGPFClass> ThisGPF;

void ThisGPFClass::Initialize() {
  EmailAddress = "The developer <" BOXWRIGHT_CRASH_RECIPIENT ">";
  WindowTitle = "";
  DumpFileName = "Faultscribe.log";
  DumpFileAppend = 1;
  RestartProgram = 0;
  ShowDetails = 0;
  DebugEmail = 0;
  DebugLogEnabled = 0;
  WaitWinEnabled = 0;
  Workstation = kx_GetWorkstationName();
  UserName = kx_GetUserName();
  FaultscribeClass::Initialize();
}

void ThisGPFClass::ExtraReportText() { FaultscribeClass::ExtraReportText(); }
