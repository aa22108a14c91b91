#pragma once
// ThisGPF: the librarian's crash reporter. Its settings: reports appended to
// "Faultscribe.log" in the current directory, no restart, no details, no wait window, the
// computer's and the user's names in every report, mail to "The developer" at the address
// the build was given (BOXWRIGHT_CRASH_RECIPIENT).
#include <memory>

#include "crash/faultscribe.h"

class ThisGPFClass final : public FaultscribeClass {
 public:
  void Initialize() override;
  void ExtraReportText() override;
};

// Built (and installed) at the application's module start-up, destroyed at its shutdown.
extern std::unique_ptr<ThisGPFClass> ThisGPF;
