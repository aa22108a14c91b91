#include <gtest/gtest.h>

#include <memory>

#include "platform/rt/dialogs.h"
#include "platform/rt/screen.h"
#include "tests/support/message_screen.h"
#include "toolkit/stack_check.h"
#include "toolkit_test_support.h"

namespace {

// The message boxes shown while it lives, each answered with its default button; with
// `echo`, also written to stderr, where a death test reads them.
class MessageBoxes {
 public:
  explicit MessageBoxes(bool echo = false) : MessageBoxes(std::make_unique<test_support::MessageScreen>(), echo) {}
  ~MessageBoxes() { rt::UseScreen(std::move(previous_)); }
  std::vector<rt::MessageRequest>& shown;

 private:
  MessageBoxes(std::unique_ptr<test_support::MessageScreen> screen, bool echo) : shown(screen->messages) {
    screen->echo = echo;
    previous_ = rt::UseScreen(std::move(screen));
  }
  std::unique_ptr<rt::Screen> previous_;
};

const std::string kPrefix = "\r\n" + std::string(13, ' ');

// EAX and the flags are never compared.
kx_RegisterBlock Block(ULONG ebx, ULONG ecx, ULONG edx, ULONG esi, ULONG edi) {
  return {.EFLAGS = 0x246, .EDI = edi, .ESI = esi, .EBP = 0x7FFE0000, .ESP = 0x7FFD0000, .EBX = ebx, .EDX = edx,
          .ECX = ecx, .EAX = 0xDEAD};
}

// A bracket in a function of its own, as the tracer has it.
__attribute__((noinline)) int Bracketed(int depth) {
  SaveStackHook();
  int inner = depth > 0 ? Bracketed(depth - 1) + 1 : 0;
  TestStackHook();
  return inner;
}

TEST(StackCheck, RealBracketsAroundBalancedCodeReportNothing) {
  DebugCapture debug;
  MessageBoxes boxes;
  EXPECT_EQ(Bracketed(20), 20);
  EXPECT_EQ(debug.text, "");
  EXPECT_TRUE(boxes.shown.empty());
}

TEST(StackCheck, ChangedRegistersAreWrittenInTheirOrder) {
  DebugCapture debug;
  kx_RegisterBlock saved = Block(1, 2, 3, 4, 5);
  kx__SaveStack(&saved);
  kx_RegisterBlock now = saved;
  now.EAX = 0;
  now.EFLAGS = 0;
  kx__TestStack(&now);
  EXPECT_EQ(debug.text, "");

  kx__SaveStack(&saved);
  now = Block(1, 2, 3, 0xAB, 0xFFFFFFFF);
  kx__TestStack(&now);
  EXPECT_EQ(debug.text, "kx_TestStack kx_TSLevel=1" + kPrefix + "ESI=000000AB LAST ESI=00000004" + kPrefix +
                            "EDI=FFFFFFFF LAST EDI=00000005\r\n");
}

TEST(StackCheck, RegisterReports) {
  kx_RegisterBlock saved = Block(0x11, 0x22, 0x33, 0x44, 0x55);
  kx__SaveStack(&saved);
  kx_RegisterBlock now = Block(0xA1, 0xA2, 0xA3, 0xA4, 0xA5);
  struct Case {
    LONG mask;
    const char* report;
  } cases[] = {
      {0, ""},
      {0x01, ""},  // bit 1 names no register
      {KX_REG_EBX, "EBX=000000A1 LAST EBX=00000011"},
      {KX_REG_EDX | KX_REG_ECX, "ECX=000000A2 LAST ECX=00000022|EDX=000000A3 LAST EDX=00000033"},
      {0x3E,
       "EBX=000000A1 LAST EBX=00000011|ECX=000000A2 LAST ECX=00000022|EDX=000000A3 LAST EDX=00000033|"
       "ESI=000000A4 LAST ESI=00000044|EDI=000000A5 LAST EDI=00000055"},
  };
  for (const auto& c : cases) EXPECT_EQ(kx__GetCurrentRegisters2(&now, c.mask, "|"), c.report) << c.mask;
  // The report holds 256 characters at most.
  EXPECT_EQ(kx__GetCurrentRegisters2(&now, 0x3E, std::string(100, '-')).size(), 256u);
  kx__TestStack(&saved);
}

TEST(StackCheck, TheDeepestLevelsAreCountedButNotKept) {
  DebugCapture debug;
  MessageBoxes boxes;
  kx_RegisterBlock block = Block(1, 2, 3, 4, 5);
  for (int i = 0; i < 255; ++i) kx__SaveStack(&block);
  EXPECT_EQ(debug.text, "");
  kx__SaveStack(&block);
  EXPECT_EQ(debug.text, "kx_SaveStack : Too many levels, kx_TSLevel=256\r\n");

  // The 256th test compares nothing, not even a moved stack pointer.
  kx_RegisterBlock moved = Block(9, 9, 9, 9, 9);
  moved.ESP += 64;
  kx__TestStack(&moved);
  for (int i = 0; i < 255; ++i) kx__TestStack(&block);
  EXPECT_EQ(debug.text, "kx_SaveStack : Too many levels, kx_TSLevel=256\r\n");
  EXPECT_TRUE(boxes.shown.empty());

  // One test too many: the mismatch box, and the level stays at the bottom.
  kx__TestStack(&block);
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text, "SaveStack - TestStack pair mismatch");
  EXPECT_EQ(boxes.shown[0].caption, "kx_TestStack");
  EXPECT_EQ(boxes.shown[0].icon, ICON::Asterisk);
  kx__SaveStack(&block);
  kx__TestStack(&block);
  EXPECT_EQ(boxes.shown.size(), 1u);
}

TEST(StackCheckDeathTest, AMovedStackOrFramePointerEndsTheProgram) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  for (auto [field, text] : {std::pair{&kx_RegisterBlock::ESP, "\\[kx_TestStack\\] ESP corrupted, program will GPF"},
                             std::pair{&kx_RegisterBlock::EBP, "\\[kx_TestStack\\] EBP corrupted, program will GPF"}}) {
    EXPECT_DEATH(
        {
          MessageBoxes boxes(true);
          kx_RegisterBlock saved = Block(1, 2, 3, 4, 5);
          kx__SaveStack(&saved);
          kx_RegisterBlock now = saved;
          now.*field -= 16;
          kx__TestStack(&now);
        },
        text);
  }
}

}  // namespace
