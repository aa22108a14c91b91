// A user's whole session: the boxwright program on the scripted screen, talking to the
// simulated unit.
#include <gtest/gtest.h>

#include "tests/app/librarian_run.h"
#include "tests/app/sent_messages.h"
#include "tests/support/file_text.h"

namespace {

using namespace app_test;
using test_support::FileText;

TEST(LibrarianSession, SelectSwitchRenameFavouritesAndUpload) {
  const std::string script = ConnectScript() + "dump\n"
                             // select cab 150 on Cab 1 left, then switch the block to Y
                             "select ALLCABLIST 150\nwait 1\ndump\nselect CAB:SWITCH 2\nwait 2\ndump\n"
                             // rename user cab 1 (cab 131)
                             "answer popup \"Rename Cabinet\"\nrightclick ALLCABLIST 131\n"
                             "set GLO:CABNAME \"abc\"\npress OKBUTTON\nwait 3\ndump\n"
                             // three favourites (10 twice), saved; Clear answered No, then Yes
                             "answer popup \"Add To Favourites\"\nrightclick ALLCABLIST 3\n"
                             "answer popup \"Add To Favourites\"\nrightclick ALLCABLIST 140\n"
                             "answer popup \"Add To Favourites\"\nrightclick ALLCABLIST 10\n"
                             "answer popup \"Add To Favourites\"\nrightclick ALLCABLIST 10\n"
                             "select SHEET1 2\n"
                             "answer popup \"Save Favourites To File...\"\nanswer save \"favs\"\n"
                             "rightclick FAVCABLIST 1\n"
                             "answer popup \"Clear Favourites List\"\nanswer message \"No\"\n"
                             "rightclick FAVCABLIST 1\ndump\n"
                             "answer popup \"Clear Favourites List\"\nanswer message \"Yes\"\n"
                             "rightclick FAVCABLIST 1\ndump\n"
                             // loaded back after a Refresh
                             "press REFRESHBUTTON\nwait 3\n"
                             "answer popup \"Load Favourites From File...\"\nanswer open \"favs.cablist\"\n"
                             "rightclick FAVCABLIST 0\nwait 1\ndump\n"
                             // a cab file dropped on user cab 5, safety on (as on every first run), confirmed
                             "select SHEET1 1\nselect ALLCABLIST 135\n"
                             "answer message \"Yes\"\ndrop SHEET1 \"new.syx\"\nwait 3\ndump\n";
  const LibrarianRun run = RunLibrarian(script, {{"new.syx", CabFileBytes(0x7F, "Fresh Air")}});
  ASSERT_EQ(run.status, 0) << run.Error();
  ASSERT_EQ(run.dumps.size(), 8u);

  // Connected: every cab with its user number; the three queries of the current block follow.
  EXPECT_EQ(run.Main(0)["CONNECTBUTTON"]["text"].text, "Disconnect");
  const Json& list = run.Main(0)["ALLCABLIST"];
  ASSERT_EQ(list["rows"].items.size(), 230u);
  EXPECT_EQ(RowCells(list, 1)[0], "1");
  EXPECT_EQ(RowCells(list, 130)[1], "") << "factory cabs show no user number";
  EXPECT_EQ(RowCells(list, 131), (std::vector<std::string>{"131", "1", "Empty"}));
  EXPECT_EQ(RowCells(list, 230)[1], "100");
  EXPECT_EQ(list["selected"].number, 1) << "the unit's current cab is highlighted";
  EXPECT_FALSE(run.Main(0)["CAB:SIDE"]["hidden"].boolean) << "block Cab 1 starts two-sided";
  EXPECT_EQ(run.sent.at(0), "F0 00 01 74 03 12 7F 7F 14 F7");
  for (const char* query : {"F0 00 01 74 03 02 6C 00 00 00 00 00 00 00 68 F7", "F0 00 01 74 03 11 6C 00 00 00 7B F7",
                            "F0 00 01 74 03 02 6C 00 0C 00 00 00 00 00 64 F7"})
    EXPECT_TRUE(run.Sent(query)) << query;

  EXPECT_TRUE(run.Sent("F0 00 01 74 03 02 6C 00 00 00 15 01 00 01 7D F7"));
  EXPECT_EQ(run.Main(1)["ALLCABLIST"]["selected"].number, 150) << "the unit reports cab 150 selected";
  EXPECT_TRUE(run.Sent("F0 00 01 74 03 11 6C 00 01 01 7B F7"));
  EXPECT_EQ(run.Main(2)["CAB:SWITCH"]["value"].text, "1");

  std::string rename = "F0 00 01 74 03 2D 00 61 62 63";
  for (int i = 0; i < 29; ++i) rename += " 00";
  EXPECT_TRUE(run.Sent(rename + " 4B F7"));
  EXPECT_EQ(RowCells(run.Main(3)["ALLCABLIST"], 131)[2], "abc") << "the list was fetched again";
  // Replies that came while the rename window was open are neither lost nor taken twice.
  EXPECT_EQ(run.Main(3)["ALLCABLIST"]["rows"].items.size(), 230u);

  EXPECT_EQ(FileText(run.folder + "/favs.cablist"), BytesFromHex("03 0A 8C"));
  EXPECT_EQ(run.Main(4)["FAVCABLIST"]["rows"].items.size(), 3u) << "Clear answered No keeps the list";
  EXPECT_TRUE(run.Main(5)["FAVCABLIST"]["rows"].items.empty());
  const Json& favourites = run.Main(6)["FAVCABLIST"];
  ASSERT_EQ(favourites["rows"].items.size(), 3u);
  EXPECT_EQ(RowCells(favourites, 1)[0], "3");
  EXPECT_EQ(RowCells(favourites, 2)[0], "10");
  EXPECT_EQ(RowCells(favourites, 3), (std::vector<std::string>{"140", "10", "Empty"}));

  const auto messages = run.Lines("message");
  ASSERT_EQ(messages.size(), 3u);
  EXPECT_EQ(messages[0]["caption"].text, "Confirm Clear Favourites");
  EXPECT_EQ(messages[0]["text"].text,
            "Clear all cabs from Favourites list?\r\nThis won't affect anything on the Axe-FX.");
  EXPECT_EQ(messages[0]["icon"].text, "exclamation");
  EXPECT_EQ(messages[2]["caption"].text, "Cab Upload Confirmation");
  EXPECT_EQ(messages[2]["text"].text,
            "Are you sure you want to over write the cab named:\r\nEmpty\r\nin slot 5 with this Cab File?");
  EXPECT_TRUE(run.Sent(HexBytes(CabFileBytes(0x7F, "Fresh Air"))));
  EXPECT_EQ(RowCells(run.Main(7)["ALLCABLIST"], 135)[2], "Fresh Air");
}

// A first run knows no offset: until the user sets one, no cab is taken for a user cab, so
// nothing can be renamed or overwritten in a slot the program only guessed. The cab file
// dropped is the sample the README offers for trying an upload.
TEST(LibrarianSession, NoCabIsAUserCabUntilTheOffsetIsSet) {
  constexpr BYTE kCabFile = 0x7A;
  const std::string script = ConnectScript(0) + "dump\n"
                             "answer cancel\nrightclick ALLCABLIST 131\n"
                             "select ALLCABLIST 131\nwait 1\nanswer message \"OK\"\ndrop SHEET1 \"new.syx\"\nwait 2\n"
                             "set GLO:USERCABOFFSET \"131\"\npress REFRESHBUTTON\nwait 3\ndump\n"
                             "answer cancel\nrightclick ALLCABLIST 131\n"
                             "answer message \"Yes\"\ndrop SHEET1 \"new.syx\"\nwait 3\ndump\n";
  const LibrarianRun run = RunLibrarian(script, {{"new.syx", FileText(BOXWRIGHT_SAMPLE_CAB)}});
  ASSERT_EQ(run.status, 0) << run.Error();
  ASSERT_EQ(run.dumps.size(), 3u);

  const Json& unknown = run.Main(0)["ALLCABLIST"];
  ASSERT_EQ(unknown["rows"].items.size(), 230u);
  for (std::size_t row = 1; row <= 230; ++row) EXPECT_EQ(RowCells(unknown, row)[1], "") << "row " << row;
  const auto popups = run.Lines("popup");
  ASSERT_EQ(popups.size(), 2u);
  EXPECT_EQ(popups[0]["entries"].items.size(), 2u) << "no Rename Cabinet";
  const auto messages = run.Lines("message");
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[0]["text"].text, "You cannot upload a cab into Factory slot!  Only into a user slot");
  EXPECT_EQ(messages[1]["caption"].text, "Cab Upload Confirmation");

  // With the offset set, cab 131 is user cab 1 again: renamed from its menu, overwritten by a drop.
  EXPECT_EQ(RowCells(run.Main(1)["ALLCABLIST"], 131)[1], "1");
  EXPECT_EQ(RowCells(run.Main(1)["ALLCABLIST"], 130)[1], "");
  ASSERT_EQ(popups[1]["entries"].items.size(), 3u);
  EXPECT_EQ(popups[1]["entries"].items[2].text, "Rename Cabinet");
  EXPECT_EQ(run.CountSent(kCabFile), 1u) << "only the drop after the offset was set";
  EXPECT_EQ(RowCells(run.Main(2)["ALLCABLIST"], 131)[2], "Boxwright Sample");
}

}  // namespace
