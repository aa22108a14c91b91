#include <gtest/gtest.h>

#include <cerrno>
#include <thread>

#include "platform/win/system/debug_output.h"
#include "platform/win/system/format_message.h"
#include "platform/win/system/last_error.h"

namespace {

TEST(LastError, IsPerThread) {
  SetLastError(5);
  DWORD seen = 99;
  std::thread([&] { seen = GetLastError(); }).join();
  EXPECT_EQ(seen, 0u);
  EXPECT_EQ(GetLastError(), 5u);
}

TEST(LastError, ErrnoMapsToStableCodesWithTexts) {
  struct Case {
    int err;
    DWORD code;
    const char* text;
  } cases[] = {
      {ENOENT, 2, "The system cannot find the file specified.\r\n"},
      {EACCES, 5, "Access is denied.\r\n"},
      {ENOSPC, 112, "There is not enough space on the disk.\r\n"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SetLastErrorFromErrno(c.err), c.code);
    EXPECT_EQ(GetLastError(), c.code);
    EXPECT_EQ(SystemErrorText(c.code), c.text);
  }
  // An errno without a classic number keeps its own text, and never looks like an
  // application-defined code (bit 0x20000000).
  DWORD other = ErrorCodeFromErrno(ELOOP);
  EXPECT_EQ(other & 0x20000000u, 0u);
  EXPECT_NE(SystemErrorText(other).find("\r\n"), std::string::npos);
}

TEST(FormatMessage, WritesTextOrFails) {
  char buffer[128];
  DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, 5, 0, buffer, sizeof buffer, nullptr);
  EXPECT_EQ(std::string(buffer, n), "Access is denied.\r\n");
  EXPECT_EQ(FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, 0xDEAD, 0, buffer, sizeof buffer, nullptr), 0u);
  char small[4];
  EXPECT_EQ(FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, 5, 0, small, sizeof small, nullptr), 0u);
  EXPECT_EQ(GetLastError(), 122u);
}

TEST(DebugOutput, CaptureSeesEveryLine) {
  std::string seen;
  auto previous = win::SetDebugSink([&](std::string_view line) { seen += line; });
  OutputDebugStringA("one\r\n");
  OutputDebugStringA(nullptr);
  OutputDebugStringA("two");
  win::SetDebugSink(previous);
  EXPECT_EQ(seen, "one\r\ntwo");
}

}  // namespace
