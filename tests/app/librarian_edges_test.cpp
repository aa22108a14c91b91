// Edge cases of the librarian, end to end on the scripted screen with the simulated unit.
#include <gtest/gtest.h>

#include "platform/win/types.h"
#include "tests/app/librarian_run.h"
#include "tests/app/session_scripts.h"

namespace {

using namespace app_test;

constexpr BYTE kRename = 0x2D;
constexpr BYTE kCabList = 0x12;
constexpr BYTE kCabFile = 0x7A;

std::string ErrorOf(const LibrarianRun& run) {
  auto errors = run.Lines("error");
  return errors.empty() ? std::string() : errors[0].text;
}

TEST(LibrarianStart, FirstRunInAnEmptyFolderStartsFromZeroAndSavesEverything) {
  LibrarianRun run = RunLibrarian(TestFolder(), "dump\npress ABOUTBUTTON\ndump\nclose\n");
  ASSERT_EQ(run.status, 0) << ErrorOf(run);
  const auto& dumps = run.dumps;
  ASSERT_EQ(dumps.size(), 2u);
  EXPECT_EQ(MainWindowIn(dumps[0])["GLO:USERCABOFFSET"]["value"].text, "0");
  EXPECT_EQ(dumps[1]["About Boxwright"]["STRING1"]["text"].text, "Boxwright v1.01");
  const std::string settings = run.SettingsFile();
  for (const char* line : {"[Preserved]", "GLO:MIDIInDevice=0", "GLO:MIDIOutDevice=0", "GLO:SafetyMode=0",
                           "GLO:UserCabOffset=0", "[Main]", "[AboutWindow]", "Maximize=No"}) {
    EXPECT_NE(settings.find(line), std::string::npos) << line << " in\n" << settings;
  }
  EXPECT_TRUE(run.sent.empty()) << "nothing is opened before Connect";
}

TEST(LibrarianStart, StoredValuesComeBackAndAreSavedAgain) {
  LibrarianRun run = RunLibrarian(TestFolder(), "dump\n",
                                  {{"settings.ini", "[Preserved]\r\nGLO:MIDIInDevice=300\r\nGLO:MIDIOutDevice=1\r\n"
                                                    "GLO:SafetyMode=1\r\nGLO:UserCabOffset=131\r\n"}});
  ASSERT_EQ(run.status, 0) << ErrorOf(run);
  const Json& main = MainWindowIn(run.dumps.at(0));
  EXPECT_EQ(main["GLO:USERCABOFFSET"]["value"].text, "131");
  EXPECT_EQ(main["GLO:SAFETYMODE"]["value"].text, "1");
  EXPECT_EQ(main["OUTDEVICELIST"]["selected"].number, 1) << "the stored output is chosen again";
  EXPECT_EQ(main["CONNECTBUTTON"]["text"].text, "Connect");
  const std::string settings = run.SettingsFile();
  EXPECT_NE(settings.find("GLO:MIDIInDevice=44"), std::string::npos) << "300 in a BYTE is 44";
  EXPECT_NE(settings.find("GLO:UserCabOffset=131"), std::string::npos);
  EXPECT_TRUE(run.sent.empty());
}

TEST(LibrarianStart, SmallWindowsKeepTheirPlaceInTheSettings) {
  const std::string places =
      "[RenameCab]\r\nMaximize=No\r\nMinimize=No\r\nXPos=40\r\nYPos=50\r\nWidth=196\r\nHeight=58\r\n"
      "[AboutWindow]\r\nMaximize=No\r\nMinimize=No\r\nXPos=70\r\nYPos=80\r\nWidth=260\r\nHeight=142\r\n";
  LibrarianRun run = RunLibrarian(TestFolder(),
                                  ConnectScript() + "answer popup \"Rename Cabinet\"\nrightclick ALLCABLIST 131\n"
                                                    "press CANCELBUTTON\npress ABOUTBUTTON\npress OKBUTTON\n",
                                  {{"settings.ini", places}});
  ASSERT_EQ(run.status, 0) << ErrorOf(run);
  const std::string settings = run.SettingsFile();
  EXPECT_NE(settings.find("[RenameCab]\r\nMaximize=No\r\nMinimize=No\r\nXPos=40\r\nYPos=50"), std::string::npos)
      << settings;
  EXPECT_NE(settings.find("[AboutWindow]\r\nMaximize=No\r\nMinimize=No\r\nXPos=70\r\nYPos=80"), std::string::npos)
      << settings;
  EXPECT_EQ(CountSent(run.sent, kRename), 0u) << "Cancel sends nothing";
}

TEST(LibrarianConnection, RefreshWithoutAnOpenOutputDoesNothing) {
  LibrarianRun run = RunLibrarian(TestFolder(), "press REFRESHBUTTON\nwait 2\ndump\n" + ConnectScript() +
                                                    "press CONNECTBUTTON\nwait 1\npress REFRESHBUTTON\nwait 2\ndump\n");
  ASSERT_EQ(run.status, 0) << ErrorOf(run);
  EXPECT_TRUE(MainWindowIn(run.dumps.at(0))["ALLCABLIST"]["rows"].items.empty());
  EXPECT_EQ(MainWindowIn(run.dumps.at(1))["ALLCABLIST"]["rows"].items.size(), 230u) << "the list stays as it was";
  EXPECT_EQ(CountSent(run.sent, kCabList), 1u);
}

TEST(LibrarianConnection, OneSideOpenKeepsConnectAndTheNextPressOpensTheOther) {
  const std::string row = std::to_string(SimulatorRow());
  LibrarianRun run = RunLibrarian(TestFolder(), "select INDEVICELIST " + row +
                                                    "\npress CONNECTBUTTON\nwait 2\ndump\nselect OUTDEVICELIST " +
                                                    row + "\npress CONNECTBUTTON\nwait 3\ndump\n");
  ASSERT_EQ(run.status, 0) << ErrorOf(run);
  const auto& dumps = run.dumps;
  EXPECT_EQ(MainWindowIn(dumps.at(0))["CONNECTBUTTON"]["text"].text, "Connect");
  EXPECT_TRUE(MainWindowIn(dumps.at(0))["ALLCABLIST"]["rows"].items.empty());
  EXPECT_EQ(MainWindowIn(dumps.at(1))["CONNECTBUTTON"]["text"].text, "Disconnect");
  EXPECT_EQ(MainWindowIn(dumps.at(1))["ALLCABLIST"]["rows"].items.size(), 230u);
  EXPECT_EQ(CountSent(run.sent, kCabList), 1u);
}

TEST(LibrarianConnection, DisconnectAndConnectAgain) {
  LibrarianRun run = RunLibrarian(TestFolder(), ConnectScript() + "press CONNECTBUTTON\nwait 1\ndump\n"
                                                                  "press CONNECTBUTTON\nwait 3\ndump\n");
  ASSERT_EQ(run.status, 0) << ErrorOf(run);
  const auto& dumps = run.dumps;
  EXPECT_EQ(MainWindowIn(dumps.at(0))["CONNECTBUTTON"]["text"].text, "Connect");
  EXPECT_EQ(MainWindowIn(dumps.at(1))["CONNECTBUTTON"]["text"].text, "Disconnect");
  EXPECT_EQ(MainWindowIn(dumps.at(1))["ALLCABLIST"]["rows"].items.size(), 230u);
}

TEST(LibrarianReplies, TwoRepliesBetweenTicksCountTwoAndApplyInOrder) {
  LibrarianRun run = RunLibrarian(TestFolder(), ConnectScript() +
                                                    "select ALLCABLIST 150\nselect CAB:SIDE 2\nwait 1\ndump\n");
  ASSERT_EQ(run.status, 0) << ErrorOf(run);
  const Json& main = MainWindowIn(run.dumps.at(0));
  EXPECT_EQ(main["LOC:MIDIPACKETCOUNT"]["value"].text, "2");
  // The later reply (the right side's cab) decides the highlight; the unit's right cab is
  // not cab 150.
  EXPECT_NE(main["ALLCABLIST"]["selected"].number, 150);
  EXPECT_TRUE(Contains(run.sent, "F0 00 01 74 03 02 6C 00 02 00 00 00 00 00 6A F7"));
}

TEST(LibrarianReplies, AOneSidedBlockHidesTheSides) {
  LibrarianRun run = RunLibrarian(TestFolder(), ConnectScript() + "select CAB:SIDE 2\nselect CAB:NUMBER 2\nwait 1\ndump\n");
  ASSERT_EQ(run.status, 0) << ErrorOf(run);
  const Json& main = MainWindowIn(run.dumps.at(0));
  EXPECT_TRUE(main["CAB:SIDE"]["hidden"].boolean) << "block Cab 2 starts one-sided";
  EXPECT_EQ(main["CAB:SIDE"]["value"].text, "0");
  EXPECT_TRUE(Contains(run.sent, "F0 00 01 74 03 02 6D 00 0C 00 00 00 00 00 65 F7"));
}

TEST(LibrarianUpload, RefusalsAndConfirmations) {
  const std::string script = ConnectScript() +
                             // the unit's current cab is a factory cab
                             "answer message \"OK\"\ndrop SHEET1 \"good.syx\"\n"
                             "select ALLCABLIST 135\n"
                             "answer message \"OK\"\ndrop SHEET1 \"list.syx\"\n"
                             "answer message \"OK\"\ndrop SHEET1 \"short.syx\"\n"
                             "answer message \"OK\"\ndrop SHEET1 \"missing.syx\"\n"
                             "answer message \"OK\"\ndrop SHEET1 \"empty.syx\"\n"
                             "answer message \"OK\"\ndrop SHEET1 \"slot.syx\"\n"
                             "press GLO:SAFETYMODE\nanswer message \"No\"\ndrop SHEET1 \"good.syx\"\nwait 2\n"
                             "press GLO:SAFETYMODE\ndrop SHEET1 \"good.syx\"\nwait 3\ndump\n";
  LibrarianRun run = RunLibrarian(TestFolder(), script,
                                  {{"good.syx", CabFileBytes(0x7F, "Dropped")},
                                   {"list.syx", BytesFromHex("F0 00 01 74 03 12 7F 7F 14 F7")},
                                   {"short.syx", BytesFromHex("F0 00 01 74 03 7A 7F")},
                                   {"empty.syx", ""},
                                   {"slot.syx", CabFileBytes(0x05, "Fixed")}});
  ASSERT_EQ(run.status, 0) << ErrorOf(run);
  const auto messages = run.Lines("message");
  ASSERT_EQ(messages.size(), 7u);
  EXPECT_EQ(messages[0]["text"].text, "You cannot upload a cab into Factory slot!  Only into a user slot");
  for (int i : {1, 2, 3, 4}) EXPECT_EQ(messages[i]["text"].text, "Invalid CAB File Detected!");
  EXPECT_EQ(messages[5]["text"].text,
            "This cab file has a hard coded cabinet slot.  Cannot upload to currently selected slot.  Sorry!");
  for (int i : {0, 1, 2, 3, 4, 5}) EXPECT_EQ(messages[i]["caption"].text, "Error Uploading Cab");
  EXPECT_EQ(messages[6]["caption"].text, "Cab Upload Confirmation");
  EXPECT_EQ(messages[6]["buttons"].items.size(), 2u);
  EXPECT_EQ(messages[6]["answer"].text, "No");
  EXPECT_EQ(CountSent(run.sent, kCabFile), 1u) << "only the upload without safety mode is sent";
  EXPECT_EQ(CountSent(run.sent, kCabList), 2u) << "No refreshes nothing; the upload refreshes once";
  EXPECT_EQ(RowCells(MainWindowIn(run.dumps.at(0))["ALLCABLIST"], 135)[2], "Dropped");
}

TEST(LibrarianRename, EmptyNameBeepsTypedNameIsCutAndCleaned) {
  const std::string script = ConnectScript() + "answer popup \"Rename Cabinet\"\nrightclick ALLCABLIST 131\n"
                                               "set GLO:CABNAME \"\"\npress OKBUTTON\ndump\n"
                                               "set GLO:CABNAME \"caf\xC3\xA9 Tone\tABCDEFGHIJKLMNOPQRSTUVWXYZ\"\n"
                                               "dump\npress OKBUTTON\nwait 3\ndump\n";
  LibrarianRun run = RunLibrarian(TestFolder(), script);
  ASSERT_EQ(run.status, 0) << ErrorOf(run);
  EXPECT_EQ(run.Lines("beep").size(), 1u);
  const auto& dumps = run.dumps;
  ASSERT_EQ(dumps.size(), 3u);
  EXPECT_TRUE(dumps[0].Has("Rename Cab")) << "the window stays open";
  // The entry takes 31 bytes of what was typed; what no message can carry is then left out.
  const std::string kept = "caf ToneABCDEFGHIJKLMNOPQRST";
  EXPECT_EQ(dumps[1]["Rename Cab"]["GLO:CABNAME"]["value"].text, kept);
  EXPECT_EQ(RowCells(MainWindowIn(dumps[2])["ALLCABLIST"], 131)[2], kept);
}

TEST(LibrarianRename, SlotsBeyondTheMessageAreRefused) {
  const std::string script = ConnectScript(1) + "answer popup \"Rename Cabinet\"\nanswer message \"OK\"\n"
                                                "rightclick ALLCABLIST 200\n";
  LibrarianRun run = RunLibrarian(TestFolder(), script);
  ASSERT_EQ(run.status, 0) << ErrorOf(run);
  const auto messages = run.Lines("message");
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0]["text"].text.find("User cab 200"), std::string::npos);
  EXPECT_EQ(CountSent(run.sent, kRename), 0u);
}

TEST(LibrarianFavourites, ClearAnsweredNoKeepsTheList) {
  const std::string script = ConnectScript() + "answer popup \"Add To Favourites\"\nrightclick ALLCABLIST 7\n"
                                               "select SHEET1 2\n"
                                               "answer popup \"Clear Favourites List\"\nanswer message \"No\"\n"
                                               "rightclick FAVCABLIST 1\ndump\n";
  LibrarianRun run = RunLibrarian(TestFolder(), script);
  ASSERT_EQ(run.status, 0) << ErrorOf(run);
  const auto messages = run.Lines("message");
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0]["caption"].text, "Confirm Clear Favourites");
  EXPECT_EQ(messages[0]["text"].text, "Clear all cabs from Favourites list?\r\nThis won't affect anything on the Axe-FX.");
  EXPECT_EQ(messages[0]["icon"].text, "exclamation");
  EXPECT_EQ(MainWindowIn(run.dumps.at(0))["FAVCABLIST"]["rows"].items.size(), 1u);
}

}  // namespace
