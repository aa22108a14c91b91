#include <gtest/gtest.h>

#include <algorithm>

#include "toolkit/error_state.h"
#include "toolkit/message_names.h"
#include "toolkit/toolkit_lock.h"

namespace {

TEST(MessageNames, TheTableHoldsEveryNameSorted) {
  kx_BuildWMQ();
  kx_BuildWMQ();  // building again replaces the rows
  ToolkitLockHold hold;
  ASSERT_EQ(hw::WM_Q.size(), 183u);
  EXPECT_TRUE(std::is_sorted(hw::WM_Q.begin(), hw::WM_Q.end(), [](auto& a, auto& b) { return a.M < b.M; }));
  for (const auto& row : hw::WM_Q) EXPECT_LE(row.T.size(), 25u) << row.T;
}

TEST(MessageNames, LookUps) {
  struct Case {
    LONG number;
    std::optional<std::string> name;
  } cases[] = {
      {0x0000, "HW::WM_NULL"},
      {0x0011, "HW::WM_QUERYENDSESSION"},
      {0x0025, std::nullopt},
      {0x0050, "HW::WM_INPUTLANGCHANGEREQ"},
      {0x0100, "HW::WM_KEYDOWN"},
      {0x020A, "HW::WM_MOUSEWHEEL"},
      {0x02B1, "HW::WM_WTSSESSION_CHANGE"},
      {0x039F, "HW::WM_COALESCE_LAST"},
      {0x03C1, std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(kx_MessageName(c.number), c.name) << c.number;
}

TEST(MessageNames, AFirstLookUpBuildsTheTableQuietly) {
  {
    ToolkitLockHold hold;
    hw::WM_Q.clear();
  }
  kx_ErrorReset("WinAccept");
  EXPECT_EQ(kx_MessageName(0x0010), "HW::WM_CLOSE");
  EXPECT_EQ(kx_ThreadErrorState().HOOKWATCHERRPROC, "WinAccept");
}

}  // namespace
