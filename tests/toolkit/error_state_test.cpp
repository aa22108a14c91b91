#include <gtest/gtest.h>

#include <thread>

#include "platform/win/system/last_error.h"
#include "toolkit/error_state.h"
#include "toolkit/error_table.h"
#include "toolkit_test_support.h"

namespace {

TEST(ErrorTable, TextsOfTheToolkitCodes) {
  struct Case {
    ULONG code;
    const char* text;
  } cases[] = {
      {0xA0000001, "kx_GetTempPath failed, TempPath is longer than 260 chars"},
      {0xA0000033, "AddAlerts error"},
      {0xA000003A, "kx_loadDLLProc error"},
      {0xA0000045, "kx_GetReg error"},
      {0xA0000055, "kx_VisibleOnDesktop error"},
      {0xA0000058, "kx_StatusGrip error"},
      {0xA0000059, "Unknown Hookwatch error code"},
      {0xA0000000, "Unknown Hookwatch error code"},
      {0x20000001, "Unknown Hookwatch error code"},
  };
  for (const auto& c : cases) EXPECT_EQ(kx_Error(HookwatchCode(c.code)), c.text) << std::hex << c.code;
}

TEST(ErrorState, SystemCodesKeepTheirLineEndOnlyInKxError) {
  EXPECT_EQ(kx_Error(2), "The system cannot find the file specified.\r\n");
  EXPECT_EQ(kx_Error(0x0BADC0DE), "Unknown Hookwatch error code");
  SetLastError(2);
  EXPECT_EQ(kx_WinError(), "The system cannot find the file specified.");
  SetLastError(0x0BADC0DE);
  EXPECT_EQ(kx_WinError(), "");
}

TEST(ErrorState, LastErrorReadsWithItsContext) {
  EXPECT_EQ(kx_Error(0), "");
  kx_ErrorReset("kx_Sleep");
  EXPECT_EQ(kx_Error(), "");  // a name is stored, but no error

  kx_ErrorReset("kx_DeleteFile");
  EXPECT_EQ(kx_ErrorSet(HookwatchCode(0xA000003E), "Access is denied.   "), HookwatchCode(0xA000003E));
  EXPECT_EQ(kx_Error(), "kx_DeleteFile error, Access is denied., kx_DeleteFile");

  kx_ErrorReset("kx_GetReg");
  kx_ErrorSet(5, "x");
  EXPECT_EQ(kx_Error(), "Access is denied.\r\n, x, kx_GetReg");
  EXPECT_EQ(kx_ThreadErrorState().HOOKWATCHEXTENDEDERR, "x");

  // A reset without a name keeps the stored one.
  kx_ErrorReset();
  EXPECT_EQ(kx_ThreadErrorState().HOOKWATCHERRPROC, "kx_GetReg");
  EXPECT_EQ(kx_ThreadErrorState().HOOKWATCHERRORCODE, 0);
}

TEST(ErrorState, TextsAreCutAndPerThread) {
  kx_ErrorReset(std::string(300, 'p'));
  kx_ErrorSet(KX_ERR_GETREG, std::string(300, 'e'));
  EXPECT_EQ(kx_ThreadErrorState().HOOKWATCHERRPROC.size(), 255u);
  EXPECT_EQ(kx_ThreadErrorState().HOOKWATCHEXTENDEDERR.size(), 255u);
  std::thread([] {
    EXPECT_EQ(kx_ThreadErrorState().HOOKWATCHERRORCODE, 0);
    EXPECT_EQ(kx_Error(), "");
  }).join();
}

TEST(ErrorState, UnderDebugEachErrorReachesTheTrace) {
  DebugCapture debug;
  kx_ErrorReset("kx_GetReg");
  kx_ErrorSet(KX_ERR_GETREG, "x");
  EXPECT_EQ(debug.text, "");
  CommandLine command({"/debug"});
  kx_ErrorSet(KX_ERR_GETREG, "x");
  EXPECT_EQ(debug.text, " kx_GetReg error, x, kx_GetReg\r\n");
}

}  // namespace
