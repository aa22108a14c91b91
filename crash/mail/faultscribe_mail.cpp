// The mail hand-off, the command and the restart after a report. They run in the presenting
// process, where the window system, the heap and other programs may be used.
#include <memory>
#include <string>

#include "crash/faultscribe.h"
#include "crash/mail/debug_email_copy.h"
#include "crash/mail/mail_roads.h"
#include "crash/present/restart_guard.h"
#include "crash/present/wait_window.h"
#include "links/linkbright_class.h"
#include "platform/rt/clipboard.h"
#include "platform/rt/command.h"
#include "platform/rt/run.h"
#include "platform/win/shell/program_start.h"
#include "toolkit/win_version.h"

std::string FaultscribeClass::_EncodeEmail(std::string_view text) { return crash::EncodeEmail(text); }

LONG FaultscribeClass::_FindFirstBreak(std::string_view text, LONG maxLen) { return crash::FindFirstBreak(text, maxLen); }

void FaultscribeClass::SendReport(std::string_view report, DWORD exceptionCode,
                                  std::string_view reportFileProblem) {
  _DebugLog("SendReport, Start", 0);
  std::unique_ptr<crash::WaitWindow> wait;
  if (WaitWinEnabled == 1 && exceptionCode != EXCEPTION_STACK_OVERFLOW) {
    wait = std::make_unique<crash::WaitWindow>(*this, TextForPleaseWait2.Clipped(), false);
  }
  crash::MailSettings settings{
      .emailAddress = EmailAddress.Clipped(),
      .windowTitle = WindowTitle.Clipped(),
      .textForEnd = TextForEnd.Clipped(),
      .textForPart = TextForPart.Clipped(),
      .textForPasteInstructions = TextForPasteInstructions.Clipped(),
      .dumpFileName = DumpFileName.Clipped(),
      .splitEmail = SplitEmail == 1,
      .alwaysPasteEmail = AlwaysPasteEmail == 1,
      .maxEmailLen = crash::MaxEmailLenFor(kx_GetWinVersion()),
      .reportFileProblem = reportFileProblem,
  };
  crash::MailCoding coding{
      .encode = [this](std::string_view text) { return _EncodeEmail(text); },
      .findBreak = [this](std::string_view text, LONG maxLen) { return _FindFirstBreak(text, maxLen); },
  };
  crash::MailRoad road = crash::PlanMail(settings, report, coding);
  if (road.clipboard && SETCLIPBOARD(*road.clipboard) != 0) {
    // Nothing took the report (no clipboard tool, no display): asking for a paste would
    // paste nothing, so the mails carry it.
    settings.clipboardUnusable = true;
    road = crash::PlanMail(settings, report, coding);
  }

  // Only Run is wanted of the link class, and Run needs no window: no Init.
  vrLinkbrightClass link;
  for (const crash::MailLink& mail : road.links) {
    link.URLToRun = mail.urlToRun;
    link.EncodeEmails = 0;  // the body is encoded already
    if (DebugEmail == 1) crash::WriteDebugEmailCopy(DebugEmailFileName.Clipped(), mail);
    _DebugLog(mail.part == 0 ? std::string("SendReport, Before ThisLinkbright.Run")
                             : "SendReport, Before ThisLinkbright.Run, ThisPart=" + std::to_string(mail.part),
              0);
    link.Run();
    _DebugLog("SendReport, After ThisLinkbright.Run", 0);
  }
  wait.reset();
  _DebugLog("SendReport, End", 0);
}

void FaultscribeClass::_ExecuteCommands() {
  if (!ExecuteCommand.IsBlank()) RUN(ExecuteCommand.Clipped());
  if (RestartProgram == 1) _RestartProgram();
}

void FaultscribeClass::_RestartProgram() {
  // The program's own file with the arguments it was started with, each one as it was given
  // (never joined and split again at blanks), in a session of its own, so that it outlives
  // this process and the one that faulted. The new run knows when it was started, so that a
  // fault at its start does not restart it again.
  crash::MarkRestart();
  win::StartProgram(rt::CommandLineArguments());
}
