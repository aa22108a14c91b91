#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/win/modules/library.h"
#include "tests/support/short_folder.h"
#include "toolkit/dll_binding.h"
#include "toolkit/error_state.h"
#include "toolkit_test_support.h"

namespace {

TEST(DllBinding, BindsOnceAndKeepsTheAddress) {
  // Names have a place of their own size: the library lies in a short folder.
  test_support::ShortFolder folder;
  std::filesystem::copy_file(ANSWER_LIBRARY, folder / "answers.so");
  const std::string library = (folder / "answers.so").string() + "  ";  // names are clipped
  kx_ProcCell cell{KX_CELL_UNTRIED};
  HMODULE module = nullptr;
  ASSERT_EQ(kx_LoadDLLProc(library, "Answer  ", cell, &module), 0);
  EXPECT_NE(module, nullptr);
  EXPECT_EQ(kx_BoundProc<int (*)()>(cell)(), 42);

  // Bound: not looked up again (a library that is nowhere answers too), the module argument
  // is left alone.
  HMODULE untouched = nullptr;
  EXPECT_EQ(kx_LoadDLLProc("no-such-library", "Answer", cell, &untouched), 0);
  EXPECT_EQ(untouched, nullptr);
  EXPECT_EQ(kx_BoundProc<int (*)()>(cell)(), 42);
}

TEST(DllBinding, AFailedCellIsNeverRetried) {
  test_support::ShortFolder folder;
  const std::string late = (folder / "late-library.so").string();
  kx_ProcCell cell{KX_CELL_UNTRIED};
  EXPECT_EQ(kx_LoadDLLProc(late, "Answer", cell), 1);
  EXPECT_EQ(cell.load(), KX_CELL_FAILED);
  std::filesystem::copy_file(ANSWER_LIBRARY, late);
  EXPECT_EQ(kx_LoadDLLProc(late, "Answer", cell), 1);

  kx_ProcCell missingProc{KX_CELL_UNTRIED};
  EXPECT_EQ(kx_LoadDLLProc(late, "Question", missingProc), 1);
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
