#include "crash/report/prepared_texts.h"

#include "crash/fixed_text.h"
#include "platform/rt/clock.h"
#include "toolkit/win_version.h"

namespace crash {
namespace {
BoundedText<256> gWinVersion;
}  // namespace

void PrepareFaultPath() {
  gWinVersion.Clear();
  gWinVersion.Append(kx_GetWinVersion());
  (void)CLOCK();  // notes the zone's offset for the fault path's clock
}

std::string_view WinVersionText() { return gWinVersion.View(); }

}  // namespace crash
