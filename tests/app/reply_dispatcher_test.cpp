#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/globals.h"
#include "app/reply_dispatcher.h"
#include "platform/win/debug_output.h"
#include "tests/app/sent_messages.h"
#include "textrope/textrope.h"

namespace {

using app_test::BytesFromHex;

// What the replies did to the window, in order.
class RecordingView final : public ReplyView {
 public:
  void HighlightCab(std::size_t position) override { log.push_back("cab " + std::to_string(position)); }
  void HighlightFavourite(std::size_t position) override { log.push_back("fav " + std::to_string(position)); }
  void ShowCabSide(bool show) override { log.push_back(show ? "show side" : "hide side"); }
  void Display() override { log.push_back("display"); }
  std::vector<std::string> log;
};

// A reply as the input buffer holds it: the message, then stale bytes of an earlier,
// longer message that DataLen leaves out.
void Arrive(const std::string& hex, LONG dataLen = -1) {
  const std::string message = BytesFromHex(hex);
  RETURN_QUEUE->DataLen = dataLen < 0 ? static_cast<LONG>(message.size()) : dataLen;
  RETURN_QUEUE->RawData = message;
  RETURN_QUEUE.Add();
}

void ArriveCab(int index, const std::string& name) {
  std::string message = {'\xF0', '\x00', '\x01', '\x74', '\x03', '\x12', static_cast<char>(index & 0x7F),
                         static_cast<char>((index >> 7) & 0x7F)};
  message += name;
  message += '\0';  // checksum: never tested
  message += '\xF7';
  RETURN_QUEUE->DataLen = static_cast<LONG>(message.size());
  RETURN_QUEUE->RawData = message;
  RETURN_QUEUE.Add();
}

class ReplyDispatcher : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetLibrarianState();
    win::SetDebugSink([this](std::string_view line) { debug.emplace_back(line); });
  }
  void TearDown() override { win::SetDebugSink({}); }
  void Tick() { ProcessReturnQueue(ST, view); }

  Textrope ST;
  RecordingView view;
  std::vector<std::string> debug;
};

TEST_F(ReplyDispatcher, CabListReplyAddsTheCabWithItsUserSlot) {
  GLO::UserCabOffset = 133;
  Arrive("F0 00 01 74 03 12 05 01 4E 61 6D 65 00 F7");
  Tick();
  ASSERT_EQ(CAB_QUEUE.Records(), 1u);
  const auto& cab = CAB_QUEUE.Peek(1);
  EXPECT_EQ(cab.CabNum, 134);
  EXPECT_EQ(cab.UserCab, 2);
  EXPECT_EQ(cab.Name, "Name");
  EXPECT_EQ(cab.NumLSB, 5);
  EXPECT_EQ(cab.NumMSB, 1);
  EXPECT_EQ(cab.RawData, "f000017403120501" "4e616d65" "00f7");
  EXPECT_EQ(RETURN_QUEUE.Records(), 0u);
  EXPECT_EQ(CAB_QUEUE->CabNum, 134) << "the cab just added is the current cab row";
}

TEST_F(ReplyDispatcher, UserCabNumberFollowsTheOffset) {
  struct {
    LONG offset;
    int index;
    LONG userCab;
  } cases[] = {{0, 0, 2}, {0, 229, 231}, {131, 129, 0}, {131, 130, 1}, {131, 229, 100}, {-5, 0, 7}};
  for (const auto& c : cases) {
    ResetLibrarianState();
    GLO::UserCabOffset = c.offset;
    ArriveCab(c.index, "x");
    Tick();
    ASSERT_EQ(CAB_QUEUE.Records(), 1u);
    EXPECT_EQ(CAB_QUEUE.Peek(1).UserCab, c.userCab) << "offset " << c.offset << ", index " << c.index;
  }
}

TEST_F(ReplyDispatcher, CabNamesAreCutAndEmptyNamesAllowed) {
  ArriveCab(2, std::string(40, 'L'));
  ArriveCab(1, "");
  ArriveCab(0, std::string("Ab\0cd", 5));
  Tick();
  ASSERT_EQ(CAB_QUEUE.Records(), 3u);
  EXPECT_EQ(CAB_QUEUE.Peek(1).Name, "Ab") << "a name ends at its first NUL";
  EXPECT_EQ(CAB_QUEUE.Peek(2).Name, "");
  EXPECT_EQ(CAB_QUEUE.Peek(3).Name, std::string(31, 'L'));
}

TEST_F(ReplyDispatcher, CabListKeepsCabOrderAndRepeatedNumbers) {
  for (int index : {7, 3, 5, 3}) ArriveCab(index, "c" + std::to_string(index));
  Tick();
  std::vector<LONG> numbers;
  for (std::size_t i = 1; i <= CAB_QUEUE.Records(); ++i) numbers.push_back(CAB_QUEUE.Peek(i).CabNum);
  EXPECT_EQ(numbers, (std::vector<LONG>{4, 4, 6, 8}));
}

TEST_F(ReplyDispatcher, RepliesTooShortForTheirFunctionAreDropped) {
  GLO::UserCabOffset = 1;
  // Each row holds a whole older message, but DataLen says only its first bytes are new.
  Arrive("F0 00 01 74 03 12 05 01 4E 61 6D 65 00 F7", 0);
  Arrive("F0 00 01 74 03 12 05 01 4E F7", 9);
  Arrive("F0 00 01 74 03 02 6C 00 00 00 05 00 00 00 00 F7", 11);
  Arrive("F0 00 01 74 03 11 6C 00 01 00 00 F7", 8);
  Arrive("F0 00 01 74 03 64 2D 01 00 F7", 7);
  Arrive("F0 00 01 74 03", 5);
  Tick();
  EXPECT_EQ(CAB_QUEUE.Records(), 0u);
  EXPECT_TRUE(view.log.empty());
  EXPECT_EQ(CAB::Switch, 0);
  EXPECT_TRUE(debug.empty());
  EXPECT_EQ(RETURN_QUEUE.Records(), 0u) << "dropped rows are deleted all the same";
}

TEST_F(ReplyDispatcher, ShortestDecodableRepliesAreApplied) {
  Arrive("F0 00 01 74 03 12 00 00 12 F7");              // 10 bytes: a cab with an empty name
  Arrive("F0 00 01 74 03 02 6C 00 00 00 00 00");        // 12 bytes: cab number 1
  Arrive("F0 00 01 74 03 11 6C 00 01");                 // 9 bytes: Y
  Arrive("F0 00 01 74 03 64 2D 07");                    // 8 bytes: error 7
  Tick();
  ASSERT_EQ(CAB_QUEUE.Records(), 1u);
  EXPECT_EQ(CAB_QUEUE.Peek(1).Name, "");
  EXPECT_EQ(view.log, (std::vector<std::string>{"cab 1", "fav 0", "display"}));
  EXPECT_EQ(CAB::Switch, 1);
  ASSERT_EQ(debug.size(), 1u);
  EXPECT_EQ(debug[0], "[Boxwright] SYSEX ERROR Command: 45, Error: 7\r\n");
}

TEST_F(ReplyDispatcher, CabNumberReplyHighlightsTheCabInBothLists) {
  for (int index : {0, 4, 149}) ArriveCab(index, "c");
  Tick();
  FAV_QUEUE->CabNum = 150;
  FAV_QUEUE.Add(&FAV_QUEUE_ROW::CabNum);
  FAV_QUEUE->CabNum = 1;
  FAV_QUEUE.Add(&FAV_QUEUE_ROW::CabNum);
  view.log.clear();

  Arrive("F0 00 01 74 03 02 6D 00 02 00 15 01 00 00 00 F7");  // cab 150, any block, right side
  Tick();
  EXPECT_EQ(view.log, (std::vector<std::string>{"cab 3", "fav 2"}));
  EXPECT_EQ(CAB_QUEUE->CabNum, 150);
  EXPECT_EQ(FAV_QUEUE->CabNum, 150);

  view.log.clear();
  Arrive("F0 00 01 74 03 02 6C 00 00 00 09 00 7F 00 00 F7");  // cab 10: listed nowhere; byte 13 unread
  Tick();
  EXPECT_EQ(view.log, (std::vector<std::string>{"cab 0", "fav 0"}));
  EXPECT_EQ(CAB_QUEUE->CabNum, 10);
  EXPECT_EQ(CAB_QUEUE->UserCab, 0) << "an unlisted cab is never taken for a user slot";
  EXPECT_EQ(CAB_QUEUE->Name, "");
}

TEST_F(ReplyDispatcher, CabModeShowsOrHidesTheSides) {
  CAB::Side = 1;
  Arrive("F0 00 01 74 03 02 6C 00 0C 00 02 00 00 00 00 F7");
  Arrive("F0 00 01 74 03 02 6C 00 0C 00 00 00 00 00 00 F7");
  Arrive("F0 00 01 74 03 02 6C 00 0C 00 01 00 00 00 00 F7");
  Arrive("F0 00 01 74 03 02 6C 00 05 00 01 00 00 00 00 F7");  // another parameter: nothing
  Tick();
  EXPECT_EQ(view.log, (std::vector<std::string>{"show side", "hide side", "hide side"}));
  EXPECT_EQ(CAB::Side, 0);
}

TEST_F(ReplyDispatcher, XYReplySetsTheSwitchForEitherBlockOnly) {
  Arrive("F0 00 01 74 03 11 6D 00 01 00 00 F7");
  Tick();
  EXPECT_EQ(CAB::Switch, 1);
  Arrive("F0 00 01 74 03 11 42 00 00 00 00 F7");
  Tick();
  EXPECT_EQ(CAB::Switch, 1) << "another block id changes nothing";
  EXPECT_EQ(view.log, (std::vector<std::string>{"display", "display"}));
}

TEST_F(ReplyDispatcher, StatusWithoutErrorAndUnknownFunctionsLeaveNoTrace) {
  Arrive("F0 00 01 74 03 64 2D 00 00 F7");
  Arrive("F0 00 01 74 03 7A 7F 00 00 F7");
  Arrive("F0 00 01 74 03 01 00 00 00 F7");
  Tick();
  EXPECT_TRUE(debug.empty());
  EXPECT_TRUE(view.log.empty());
  EXPECT_EQ(RETURN_QUEUE.Records(), 0u);
}

TEST_F(ReplyDispatcher, RepliesAreAppliedInArrivalOrder) {
  ArriveCab(0, "first");
  Arrive("F0 00 01 74 03 02 6C 00 00 00 00 00 00 00 00 F7");  // finds the cab just listed
  Arrive("F0 00 01 74 03 11 6C 00 01 00 00 F7");
  Arrive("F0 00 01 74 03 11 6C 00 00 00 00 F7");
  Tick();
  EXPECT_EQ(view.log, (std::vector<std::string>{"cab 1", "fav 0", "display", "display"}));
  EXPECT_EQ(CAB::Switch, 0) << "the later X/Y reply wins";
}

}  // namespace
