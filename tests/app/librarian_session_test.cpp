// The librarian end to end: the boxwright program on the scripted screen, talking to the
// simulated unit.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/win/types.h"
#include "tests/app/librarian_run.h"
#include "tests/app/sent_messages.h"
#include "tests/app/session_scripts.h"

namespace {

using app_test::BytesFromHex;
using app_test::Json;
using app_test::LibrarianRun;
using app_test::MainWindowIn;
using app_test::RowCells;
using app_test::RunLibrarian;
using app_test::CabFileBytes;
using app_test::ConnectScript;
using app_test::Contains;
using app_test::TestFolder;

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(LibrarianSession, ConnectReadsEveryCabWithUserNumbers) {
  LibrarianRun run = RunLibrarian(TestFolder(), ConnectScript() + "dump\n");
  ASSERT_EQ(run.status, 0);
  const auto& dumps = run.dumps;
  ASSERT_FALSE(dumps.empty());
  const Json& main = MainWindowIn(dumps.back());
  EXPECT_EQ(main["CONNECTBUTTON"]["text"].text, "Disconnect");
  const Json& list = main["ALLCABLIST"];
  ASSERT_EQ(list["rows"].items.size(), 230u);
  EXPECT_EQ(RowCells(list, 1)[0], "1");
  EXPECT_EQ(RowCells(list, 130)[1], "") << "factory cabs show no user number";
  EXPECT_EQ(RowCells(list, 131), (std::vector<std::string>{"131", "1", "Empty"}));
  EXPECT_EQ(RowCells(list, 230)[1], "100");
  EXPECT_EQ(list["selected"].number, 1) << "the unit's current cab is highlighted";
  EXPECT_FALSE(main["CAB:SIDE"]["hidden"].boolean) << "block Cab 1 starts two-sided";
  ASSERT_FALSE(run.sent.empty());
  EXPECT_EQ(run.sent[0], "F0 00 01 74 03 12 7F 7F 14 F7");
  // The tick after the list: the three queries of the current block.
  EXPECT_TRUE(Contains(run.sent, "F0 00 01 74 03 02 6C 00 00 00 00 00 00 00 68 F7"));
  EXPECT_TRUE(Contains(run.sent, "F0 00 01 74 03 11 6C 00 00 00 7B F7"));
  EXPECT_TRUE(Contains(run.sent, "F0 00 01 74 03 02 6C 00 0C 00 00 00 00 00 64 F7"));
}

TEST(LibrarianSession, SelectSwitchRenameFavouritesAndUpload) {
  const std::string script = ConnectScript() +
                             // select cab 150 on Cab 1 left, then switch the block to Y
                             "select ALLCABLIST 150\nwait 1\ndump\nselect CAB:SWITCH 2\nwait 2\ndump\n"
                             // rename user cab 1 (cab 131)
                             "answer popup \"Rename Cabinet\"\nrightclick ALLCABLIST 131\n"
                             "set GLO:CABNAME \"abc\"\npress OKBUTTON\nwait 3\ndump\n"
                             // three favourites, saved, cleared and loaded back
                             "answer popup \"Add To Favourites\"\nrightclick ALLCABLIST 3\n"
                             "answer popup \"Add To Favourites\"\nrightclick ALLCABLIST 140\n"
                             "answer popup \"Add To Favourites\"\nrightclick ALLCABLIST 10\n"
                             "answer popup \"Add To Favourites\"\nrightclick ALLCABLIST 10\n"
                             "select SHEET1 2\n"
                             "answer popup \"Save Favourites To File...\"\nanswer save \"favs\"\n"
                             "rightclick FAVCABLIST 1\n"
                             "answer popup \"Clear Favourites List\"\nanswer message \"Yes\"\n"
                             "rightclick FAVCABLIST 1\ndump\n"
                             "press REFRESHBUTTON\nwait 3\n"
                             "answer popup \"Load Favourites From File...\"\nanswer open \"favs.cablist\"\n"
                             "rightclick FAVCABLIST 0\nwait 1\ndump\n"
                             // a cab file dropped on user cab 5, safety on, confirmed
                             "select SHEET1 1\nselect ALLCABLIST 135\npress GLO:SAFETYMODE\n"
                             "answer message \"Yes\"\ndrop SHEET1 \"new.syx\"\nwait 3\ndump\n";
  LibrarianRun run = RunLibrarian(TestFolder(), script, {{"new.syx", CabFileBytes(0x7F, "Fresh Air")}});
  ASSERT_EQ(run.status, 0) << (run.Lines("error").empty() ? "" : run.Lines("error")[0].text);
  const auto& dumps = run.dumps;
  ASSERT_EQ(dumps.size(), 6u);

  EXPECT_TRUE(Contains(run.sent, "F0 00 01 74 03 02 6C 00 00 00 15 01 00 01 7D F7"));
  EXPECT_EQ(MainWindowIn(dumps[0])["ALLCABLIST"]["selected"].number, 150) << "the unit reports cab 150 selected";
  EXPECT_TRUE(Contains(run.sent, "F0 00 01 74 03 11 6C 00 01 01 7B F7"));
  EXPECT_EQ(MainWindowIn(dumps[1])["CAB:SWITCH"]["value"].text, "1");

  std::string rename = "F0 00 01 74 03 2D 00 61 62 63";
  for (int i = 0; i < 29; ++i) rename += " 00";
  EXPECT_TRUE(Contains(run.sent, rename + " 4B F7"));
  EXPECT_EQ(RowCells(MainWindowIn(dumps[2])["ALLCABLIST"], 131)[2], "abc") << "the list was fetched again";
  // Replies that came while the rename window was open are neither lost nor taken twice.
  EXPECT_EQ(MainWindowIn(dumps[2])["ALLCABLIST"]["rows"].items.size(), 230u);

  EXPECT_EQ(ReadFile(std::filesystem::path(run.folder) / "favs.cablist"), BytesFromHex("03 0A 8C"));
  EXPECT_TRUE(MainWindowIn(dumps[3])["FAVCABLIST"]["rows"].items.empty());
  const Json& favourites = MainWindowIn(dumps[4])["FAVCABLIST"];
  ASSERT_EQ(favourites["rows"].items.size(), 3u);
  EXPECT_EQ(RowCells(favourites, 1)[0], "3");
  EXPECT_EQ(RowCells(favourites, 2)[0], "10");
  EXPECT_EQ(RowCells(favourites, 3), (std::vector<std::string>{"140", "10", "Empty"}));

  auto questions = run.Lines("message");
  ASSERT_FALSE(questions.empty());
  EXPECT_EQ(questions.back()["caption"].text, "Cab Upload Confirmation");
  EXPECT_EQ(questions.back()["text"].text,
            "Are you sure you want to over write the cab named:\r\nEmpty\r\nin slot 5 with this Cab File?");
  EXPECT_TRUE(Contains(run.sent, app_test::HexBytes(CabFileBytes(0x7F, "Fresh Air"))));
  EXPECT_EQ(RowCells(MainWindowIn(dumps[5])["ALLCABLIST"], 135)[2], "Fresh Air");
}

}  // namespace
