#include "app/librarian_program.h"

#include <cstring>
#include <filesystem>
#include <string>

#include "app/app_objects.h"
#include "app/globals.h"
#include "app/main_window.h"
#include "app/session_end.h"
#include "app/this_gpf.h"
#include "crash/present/presenter.h"
#include "links/links_module.h"
#include "platform/framework/window_manager.h"
#include "platform/midi/idle.h"
#include "platform/rt/control_kind.h"
#include "platform/rt/dialogs.h"
#include "platform/rt/settle.h"
#include "platform/rt/system.h"
#include "platform/rt/props.h"
#include "toolkit/session_hooks.h"
#include "toolkit/toolkit_modules.h"

std::unique_ptr<ErrorClass> GlobalErrors;
std::unique_ptr<INIMGR> INIMgr;

namespace {
thread_local std::unique_ptr<ErrorStatusClass> threadErrorStatus;

// The calling thread's error status (made at thread start).
ErrorStatusClass& ThreadErrorStatus() {
  if (!threadErrorStatus) threadErrorStatus = std::make_unique<ErrorStatusClass>();
  return *threadErrorStatus;
}

int midiSettleHook = 0;

// The settings are written only at close, so a write that failed loses the session's choices:
// the user hears of it once, with the file and the reason.
void SaySettingsNotSaved() {
  if (INIMgr->WriteFailure().empty()) return;
  std::error_code ignored;
  const std::string file = std::filesystem::absolute(INIMgr->FileName(), ignored).lexically_normal().string();
  MESSAGE("The settings could not be saved to " + file + ":\r\n" + INIMgr->WriteFailure(), "Save Settings",
          ICON::Exclamation, BUTTON::OK);
}
}  // namespace

rt::Module LibrarianModule() {
  return rt::Module{
      .name = "boxwright",
      .start =
          [] {
            // The kinds of control the librarian's windows are built from.
            rt::AnnounceControlKinds({rt::Kind::Group, rt::Kind::Prompt, rt::Kind::List, rt::Kind::Button,
                                      rt::Kind::Option, rt::Kind::Radio, rt::Kind::Spin, rt::Kind::Sheet,
                                      rt::Kind::Tab, rt::Kind::Check, rt::Kind::String, rt::Kind::Entry});
            ResetLibrarianState();
            // From here on a fault anywhere in the program is reported.
            ThisGPF = std::make_unique<ThisGPFClass>();
            ThisGPF->Construct();
            std::memset(midilink::MIDIString, ' ', sizeof midilink::MIDIString);
            GlobalErrors = std::make_unique<ErrorClass>();
            INIMgr = std::make_unique<INIMGR>();
            // MIDI traffic runs on the drivers' threads: a screen that settles the program
            // (the scripted one) waits until every reply owed has been posted to the window.
            midiSettleHook = rt::AddSettleHook([] { midi::WaitUntilIdle(); });
          },
      .stop =
          [] {
            rt::RemoveSettleHook(midiSettleHook);
            INIMgr.reset();
            GlobalErrors.reset();
            ThisGPF.reset();
            OutDeviceQ.Free();
            InDeviceQ.Free();
            RETURN_QUEUE.Free();
            FAV_QUEUE.Free();
            CAB_QUEUE.Free();
          },
      .threadStart =
          [] {
            ThreadErrorStatus();
            GlobalRequest = 0;
            GlobalResponse = 0;
            VCRRequest = 0;
          },
      .threadEnd = [] { threadErrorStatus.reset(); },
  };
}

void _main() {
  GlobalErrors->Init(ThreadErrorStatus());
  INIMgr->Init(kSettingsFile);
  rt::SetSystemText(PROP::AppIcon, "boxwright.ico");
  kx_SetOkToEndSessionHandler(MyOkToEndSessionHandler);
  kx_SetEndSessionHandler(MyEndSessionHandler);
  Main();
  INIMgr->Update();
  SaySettingsNotSaved();
  // A fault during the rest of the shutdown must not start the program again.
  ThisGPF->RestartProgram = 0;
  INIMgr->Kill();
}

rt::Program LibrarianProgram() {
  rt::Program program;
  program.modules.push_back(LibrarianModule());
  for (rt::Module& module : kx_ToolkitModules()) program.modules.push_back(std::move(module));
  program.modules.push_back(crash::CrashModule());
  program.modules.push_back(LinksModule());
  program.main = _main;
  return program;
}
