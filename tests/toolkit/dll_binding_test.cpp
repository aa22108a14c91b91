#include <gtest/gtest.h>

#include "platform/win/library.h"
#include "toolkit/dll_binding.h"
#include "toolkit/error_state.h"
#include "toolkit_test_support.h"

namespace {

int Answer() { return 42; }

TEST(DllBinding, BindsOnceAndKeepsTheAddress) {
  win::RegisterLibraryProvider("answers", {{"Answer", win::ExportOf(&Answer)}});
  kx_ProcCell cell{KX_CELL_UNTRIED};
  HMODULE module = nullptr;
  ASSERT_EQ(kx_LoadDLLProc("answers.dll  ", "Answer  ", cell, &module), 0);  // names are clipped
  EXPECT_NE(module, nullptr);
  EXPECT_EQ(kx_BoundProc<int (*)()>(cell)(), 42);

  // Bound: not looked up again, the module argument is left alone.
  win::RegisterLibraryProvider("answers", {});
  HMODULE untouched = nullptr;
  EXPECT_EQ(kx_LoadDLLProc("answers", "Answer", cell, &untouched), 0);
  EXPECT_EQ(untouched, nullptr);
  EXPECT_EQ(kx_BoundProc<int (*)()>(cell)(), 42);
}

TEST(DllBinding, AFailedCellIsNeverRetried) {
  kx_ProcCell cell{KX_CELL_UNTRIED};
  EXPECT_EQ(kx_LoadDLLProc("late-library", "Answer", cell), 1);
  EXPECT_EQ(cell.load(), KX_CELL_FAILED);
  win::RegisterLibraryProvider("late-library", {{"Answer", win::ExportOf(&Answer)}});
  EXPECT_EQ(kx_LoadDLLProc("late-library", "Answer", cell), 1);

  kx_ProcCell missingProc{KX_CELL_UNTRIED};
  EXPECT_EQ(kx_LoadDLLProc("late-library", "Question", missingProc), 1);
  EXPECT_EQ(missingProc.load(), KX_CELL_FAILED);

  kx_ProcCell anyValue{0x1234};  // trusted as bound without a check
  EXPECT_EQ(kx_LoadDLLProc("nowhere", "Nothing", anyValue), 0);
}

TEST(DllBinding, FailuresAreRecordedOnlyUnderDebug) {
  kx_ProcCell quiet{KX_CELL_UNTRIED};
  EXPECT_EQ(kx_LoadDLLProc("no-such-library", "Proc", quiet), 1);
  EXPECT_EQ(kx_ThreadErrorState().HOOKWATCHERRORCODE, 0);

  CommandLine command({"/debug"});
  DebugCapture debug;
  kx_ProcCell traced{KX_CELL_UNTRIED};
  EXPECT_EQ(kx_LoadDLLProc("no-such-library", "Proc", traced), 1);
  EXPECT_EQ(kx_ThreadErrorState().HOOKWATCHERRORCODE, KX_ERR_LOADDLLPROC);
  EXPECT_EQ(kx_Error(),
            "kx_loadDLLProc error, kx_LoadDLLProc error, LoadLibrary failed DLL=no-such-library The specified module "
            "could not be found., kx_LoadDLLProc");

  kx_ProcCell missingProc{KX_CELL_UNTRIED};
  EXPECT_EQ(kx_LoadDLLProc("wsock32", "NoSuchProc", missingProc), 1);
  EXPECT_EQ(kx_ThreadErrorState().HOOKWATCHEXTENDEDERR,
            "kx_LoadDLLProc error, GetProcAddress failed Proc=NoSuchProc DLL=wsock32 The specified procedure could "
            "not be found.");
}

}  // namespace
