#include <gtest/gtest.h>

#include <cstdint>

#include <string>
#include <vector>

#include "platform/win/system/debug_output.h"
#include "tests/app/sent_messages.h"
#include "tests/app/unit_replies.h"
#include "textrope/textrope.h"

namespace {

using namespace app_test;

// What the replies did to the window, in order.
class RecordingView final : public ReplyView {
 public:
  void HighlightCab(std::size_t position) override { Note("cab " + std::to_string(position)); }
  void HighlightFavourite(std::size_t position) override { Note("fav " + std::to_string(position)); }
  void ShowCabSide(bool show) override { Note(show ? "show side" : "hide side"); }
  void Display() override { Note("display"); }
  void Note(const std::string& what) { log += (log.empty() ? "" : ", ") + what; }
  std::string log;
};

// "number:user:name" of a cab row.
std::string Described(const CAB_QUEUE_ROW& cab) {
  return std::to_string(cab.CabNum) + ":" + std::to_string(cab.UserCab) + ":" + cab.Name;
}

// A reply in hex. A "|" ends what the driver recorded; the bytes after it stand for stale
// ones of the shared input buffer.
void ArriveHex(std::string hex) {
  const std::size_t bar = hex.find('|');
  if (bar == std::string::npos) return Arrive(BytesFromHex(hex));
  const auto recorded = static_cast<LONG>(BytesFromHex(hex.substr(0, bar)).size());
  Arrive(BytesFromHex(hex.erase(bar, 1)), recorded);
}

std::string ListedCabs() {
  std::string cabs;
  for (std::size_t i = 1; i <= CAB_QUEUE.Records(); ++i) cabs += (i > 1 ? " " : "") + Described(CAB_QUEUE.Peek(i));
  return cabs;
}

class ReplyDispatcher : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetLibrarianState();
    win::SetDebugSink([this](std::string_view line) { debug += line; });
  }
  void TearDown() override { win::SetDebugSink({}); }
  void Tick() { ProcessReturnQueue(ST, view); }

  Textrope ST;
  RecordingView view;
  std::string debug;
};

TEST_F(ReplyDispatcher, CabListReplyAddsTheCabWithItsUserSlot) {
  GLO::UserCabOffset = 133;
  ArriveHex("F0 00 01 74 03 12 05 01 4E 61 6D 65 00 F7");
  Tick();
  ASSERT_EQ(ListedCabs(), "134:2:Name");
  const auto& cab = CAB_QUEUE.Peek(1);
  EXPECT_EQ(cab.NumLSB, 5);
  EXPECT_EQ(cab.NumMSB, 1);
  EXPECT_EQ(cab.RawData, "f0000174031205014e616d6500f7");
  EXPECT_EQ(Described(CAB_QUEUE.Buffer()), "134:2:Name") << "the cab just added is the current cab row";
}

TEST_F(ReplyDispatcher, ACabListedAgainReplacesItsRow) {
  // Replies to two Refreshes, the second after a rename, and a unit repeating a reply.
  GLO::UserCabOffset = 131;
  for (int index : {130, 0, 5}) Arrive(CabListReply(index, "old"));
  for (int index : {5, 130, 0, 130}) Arrive(CabListReply(index, index == 130 ? "renamed" : "same"));
  Tick();
  EXPECT_EQ(ListedCabs(), "1:0:same 6:0:same 131:1:renamed");
  EXPECT_EQ(Described(CAB_QUEUE.Buffer()), "131:1:renamed") << "the cab just replaced is the current cab row";
  EXPECT_EQ(CAB_QUEUE.Pointer(), 3u);
}

TEST_F(ReplyDispatcher, UserCabNumberFollowsTheOffset) {
  struct {
    LONG offset;
    int index;
    LONG userCab;
  } cases[] = {
      // 0 (a first run) and anything below: the first user cab is not known, so none is one.
      {0, 0, 0}, {0, 229, 0}, {-5, 0, 0}, {INT32_MIN, 16383, 0},
      {131, 129, 0}, {131, 130, 1}, {131, 229, 100}, {1, 0, 1}, {1, 16383, 16384}, {INT32_MAX, 16383, 0}};
  for (const auto& c : cases) {
    ResetLibrarianState();
    GLO::UserCabOffset = c.offset;
    Arrive(CabListReply(c.index, "x"));
    Tick();
    EXPECT_EQ(CAB_QUEUE.Peek(1).UserCab, c.userCab) << "offset " << c.offset << ", index " << c.index;
  }
}

// Each row is one tick's replies, over cabs 1, 5 and 150 listed, 1 and 150 favourites, the
// right side chosen.
TEST_F(ReplyDispatcher, EachReplyDoesItsPartInArrivalOrder) {
  const std::string longName = [] {
    std::string hex;
    for (int i = 0; i < 40; ++i) hex += "4C ";
    return hex;
  }();
  struct {
    const char* name;
    std::vector<std::string> replies;
    std::string window, cabs, debug = "";
    BYTE xy = 0, side = 1;
  } cases[] = {
      {"names are cut to 31 and end at a NUL; a cab listed again is replaced, in order",
       {"F0 00 01 74 03 12 02 00 " + longName + "00 F7", "F0 00 01 74 03 12 04 00 41 00 F7",
        "F0 00 01 74 03 12 01 00 41 62 00 63 00 F7"},
       "", "1:0: 2:0:Ab 3:0:" + std::string(31, 'L') + " 5:0:A 150:0:"},
      {"too short for the function: dropped, stale bytes unread",
       {"| F0 00 01 74 03 12 05 01 4E 61 6D 65 00 F7", "F0 00 01 74 03 12 05 01 4E | F7",
        "F0 00 01 74 03 02 6C 00 00 00 05 | 00 00 00 00 F7", "F0 00 01 74 03 11 6C 00 | 01 00 00 F7",
        "F0 00 01 74 03 64 2D | 01 00 F7", "F0 00 01 74 03 |"},
       "", "1:0: 5:0: 150:0:"},
      {"the shortest of each function; a cab listed earlier in the tick is found",
       {"F0 00 01 74 03 12 09 00 12 F7", "F0 00 01 74 03 02 6C 00 00 00 09 00", "F0 00 01 74 03 11 6C 00 01",
        "F0 00 01 74 03 64 2D 07"},
       "cab 3, fav 0, display", "1:0: 5:0: 10:0: 150:0:", "[Boxwright] SYSEX ERROR Command: 45, Error: 7\r\n", 1},
      {"the cab of any block and side highlights in both lists; an unlisted one in none",
       {"F0 00 01 74 03 02 6D 00 02 00 15 01 00 00 00 F7", "F0 00 01 74 03 02 6C 00 00 00 09 00 7F 00 00 F7"},
       "cab 3, fav 2, cab 0, fav 0", "1:0: 5:0: 150:0:"},
      {"cab mode 2 shows the sides, any other hides them; other parameters do nothing",
       {"F0 00 01 74 03 02 6C 00 0C 00 02 00 00 00 00 F7", "F0 00 01 74 03 02 6C 00 0C 00 00 00 00 00 00 F7",
        "F0 00 01 74 03 02 6C 00 0C 00 01 00 00 00 00 F7", "F0 00 01 74 03 02 6C 00 05 00 01 00 00 00 00 F7"},
       "show side, hide side, hide side", "1:0: 5:0: 150:0:", "", 0, 0},
      {"X/Y of either block sets the switch, the last one winning; another block changes nothing",
       {"F0 00 01 74 03 11 6D 00 01 00 00 F7", "F0 00 01 74 03 11 6C 00 00 00 00 F7",
        "F0 00 01 74 03 11 6C 00 01 00 00 F7", "F0 00 01 74 03 11 42 00 00 00 00 F7"},
       "display, display, display, display", "1:0: 5:0: 150:0:", "", 1},
      {"status without error and unknown functions leave no trace",
       {"F0 00 01 74 03 64 2D 00 00 F7", "F0 00 01 74 03 7A 7F 00 00 F7", "F0 00 01 74 03 01 00 00 00 F7"},
       "", "1:0: 5:0: 150:0:"},
  };
  for (const auto& c : cases) {
    ResetLibrarianState();
    GLO::UserCabOffset = 200;
    CAB::Side = 1;
    for (int index : {0, 4, 149}) Arrive(CabListReply(index, ""));
    Tick();
    for (LONG n : {1, 150}) {
      FAV_QUEUE->CabNum = n;
      FAV_QUEUE.Add(&FAV_QUEUE_ROW::CabNum);
    }
    view.log.clear();
    debug.clear();
    for (const std::string& hex : c.replies) ArriveHex(hex);
    Tick();
    EXPECT_EQ(view.log, c.window) << c.name;
    EXPECT_EQ(ListedCabs(), c.cabs) << c.name;
    EXPECT_EQ(debug, c.debug) << c.name;
    EXPECT_EQ(CAB::Switch, c.xy) << c.name;
    EXPECT_EQ(CAB::Side, c.side) << c.name;
    EXPECT_EQ(RETURN_QUEUE.Records(), 0u) << c.name;
  }
}

// The device's current cab becomes the current cab row, which a dropped cab file aims at.
TEST_F(ReplyDispatcher, CabNumberReplyMakesTheCurrentCabRow) {
  GLO::UserCabOffset = 1;
  Arrive(CabListReply(9, "listed"));
  ArriveHex("F0 00 01 74 03 02 6C 00 00 00 09 00 00 00 00 F7");
  Tick();
  EXPECT_EQ(Described(CAB_QUEUE.Buffer()), "10:10:listed");
  ArriveHex("F0 00 01 74 03 02 6C 00 00 00 02 00 00 00 00 F7");
  Tick();
  EXPECT_EQ(Described(CAB_QUEUE.Buffer()), "3:0:") << "an unlisted cab is no user slot: a drop is refused";
}

}  // namespace
