// Edge cases of the librarian, end to end on the scripted screen with the simulated unit.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "tests/app/librarian_run.h"
#include "tests/app/sent_messages.h"
#include "tests/support/file_text.h"
#include "tests/support/special_files.h"

namespace {

using namespace app_test;
using test_support::FileText;
namespace fs = std::filesystem;

constexpr BYTE kRename = 0x2D;
constexpr BYTE kCabList = 0x12;
constexpr BYTE kCabFile = 0x7A;
constexpr BYTE kCabFileData = 0x7B;

const std::string kAboutPlace = "[AboutWindow]\r\nMaximize=No\r\nMinimize=No\r\nXPos=70\r\nYPos=80\r\n";

std::size_t Rows(const Json& dumpedMain, const char* list) { return dumpedMain[list]["rows"].items.size(); }

TEST(LibrarianStart, FirstRunInAnEmptyFolderStartsFromZeroAndSavesEverything) {
  const LibrarianRun run = RunLibrarian("dump\npress ABOUTBUTTON\ndump\nclose\n");
  ASSERT_EQ(run.status, 0) << run.Error();
  EXPECT_EQ(run.Main(0)["GLO:USERCABOFFSET"]["value"].text, "0");
  EXPECT_EQ(run.Main(0)["GLO:SAFETYMODE"]["value"].text, "1") << "a first run asks before it overwrites";
  EXPECT_EQ(run.dumps.at(1)["About Boxwright"]["STRING1"]["text"].text, "Boxwright v1.01");
  const std::string settings = FileText(run.folder + "/settings.ini");
  for (const char* line : {"[Preserved]", "GLO:MIDIInDevice=0", "GLO:MIDIOutDevice=0", "GLO:SafetyMode=1",
                           "GLO:UserCabOffset=0", "[Main]", "[AboutWindow]", "Maximize=No"})
    EXPECT_NE(settings.find(line), std::string::npos) << line << " in\n" << settings;
  EXPECT_EQ(settings.find("[RenameCab]"), std::string::npos) << "a window never opened keeps no place";
  EXPECT_TRUE(run.sent.empty()) << "nothing is opened before Connect";
}

TEST(LibrarianStart, StoredValuesAndPlaceComeBackAndAreSavedAgain) {
  const LibrarianRun run = RunLibrarian(
      "dump\npress ABOUTBUTTON\npress OKBUTTON\n",
      {{"settings.ini", "[Preserved]\r\nGLO:MIDIInDevice=300\r\nGLO:MIDIOutDevice=1\r\nGLO:SafetyMode=1\r\n"
                        "GLO:UserCabOffset=131\r\n" + kAboutPlace}});
  ASSERT_EQ(run.status, 0) << run.Error();
  EXPECT_EQ(run.Main(0)["GLO:USERCABOFFSET"]["value"].text, "131");
  EXPECT_EQ(run.Main(0)["GLO:SAFETYMODE"]["value"].text, "1");
  EXPECT_EQ(run.Main(0)["OUTDEVICELIST"]["selected"].number, 1) << "the stored output is chosen again";
  EXPECT_EQ(run.Main(0)["CONNECTBUTTON"]["text"].text, "Connect");
  const std::string settings = FileText(run.folder + "/settings.ini");
  for (const std::string& kept :
       {kAboutPlace, std::string("GLO:MIDIInDevice=44"), std::string("GLO:UserCabOffset=131")})
    EXPECT_NE(settings.find(kept), std::string::npos) << kept << " in\n" << settings;
  EXPECT_TRUE(run.sent.empty());
}

TEST(LibrarianStart, SettingsThatCannotBeSavedAreSaidAndTheFileIsLeftAlone) {
  namespace fs = std::filesystem;
  const std::string stored = "[Preserved]\r\nGLO:UserCabOffset=131\r\n";
  const std::string huge = stored + std::string(2 << 20, ';');
  struct {
    const char* what;
    std::string settings;
    std::function<void(const fs::path&)> prepare;
    std::string reason;
  } cases[] = {
      {"read-only", stored, [](const fs::path& dir) { fs::permissions(dir / "settings.ini", fs::perms::owner_read); },
       "It is read-only, so it was left as it is."},
      {"too large", huge, {}, "It is larger than 1 MiB, too large to be a settings file."},
  };
  for (const auto& c : cases) {
    const LibrarianRun run = RunLibrarian("set GLO:USERCABOFFSET \"7\"\nanswer message \"OK\"\n",
                                          {{"settings.ini", c.settings}}, c.prepare);
    ASSERT_EQ(run.status, 0) << c.what << ": " << run.Error();
    const auto messages = run.Lines("message");
    ASSERT_EQ(messages.size(), 1u) << c.what << ": said once, however many writes failed";
    EXPECT_EQ(messages[0]["text"].text,
              "The settings could not be saved to " + run.folder + "/settings.ini:\r\n" + c.reason);
    EXPECT_EQ(messages[0]["caption"].text, "Save Settings");
    fs::permissions(run.folder + "/settings.ini", fs::perms::owner_all, fs::perm_options::add);
    EXPECT_EQ(FileText(run.folder + "/settings.ini"), c.settings) << c.what << ": left as it was";
  }
}

// An offset stored beyond what its three-digit box shows is held at the box's end when read,
// so Connect, which takes the screen's values, keeps it rather than turning it into 0.
TEST(LibrarianStart, AStoredOffsetBeyondTheBoxIsHeldAtItsEnd) {
  const LibrarianRun run = RunLibrarian(
      "select INDEVICELIST " + SimulatorRow() + "\nselect OUTDEVICELIST " + SimulatorRow() +
          "\npress CONNECTBUTTON\nwait 3\ndump\n",
      {{"settings.ini", "[Preserved]\r\nGLO:UserCabOffset=-2147483648\r\n"}});
  ASSERT_EQ(run.status, 0) << run.Error();
  EXPECT_EQ(run.Main(0)["GLO:USERCABOFFSET"]["value"].text, "0");
  EXPECT_EQ(RowCells(run.Main(0)["ALLCABLIST"], 230)[1], "") << "no user cab while the offset is not known";
  const LibrarianRun high = RunLibrarian("press CONNECTBUTTON\nwait 1\ndump\n",
                                         {{"settings.ini", "[Preserved]\r\nGLO:UserCabOffset=5000\r\n"}});
  ASSERT_EQ(high.status, 0) << high.Error();
  EXPECT_EQ(high.Main(0)["GLO:USERCABOFFSET"]["value"].text, "999");
  EXPECT_NE(FileText(high.folder + "/settings.ini").find("GLO:UserCabOffset=999\r\n"), std::string::npos);
}

TEST(LibrarianConnection, OpensBothSidesBeforeItConnectsAndRefreshesOnlyWhenConnected) {
  const std::string row = SimulatorRow();
  const LibrarianRun run = RunLibrarian(
      "press REFRESHBUTTON\nwait 2\ndump\n"                                                   // 0: nothing open
      "select INDEVICELIST " + row + "\npress CONNECTBUTTON\nwait 2\ndump\n"                 // 1: input only
      "select OUTDEVICELIST " + row + "\npress CONNECTBUTTON\nwait 3\ndump\n"                // 2: both
      "press CONNECTBUTTON\nwait 1\npress REFRESHBUTTON\nwait 2\ndump\n"                     // 3: disconnected
      "press CONNECTBUTTON\nwait 3\ndump\n"                                                   // 4: again
      "select ALLCABLIST 150\nselect CAB:SIDE 2\nwait 1\ndump\n"                              // 5: two replies
      "select CAB:NUMBER 2\nwait 1\ndump\n");                                                 // 6: block Cab 2
  ASSERT_EQ(run.status, 0) << run.Error();
  ASSERT_EQ(run.dumps.size(), 7u);
  EXPECT_EQ(Rows(run.Main(0), "ALLCABLIST"), 0u) << "Refresh with no output open does nothing";
  EXPECT_EQ(run.Main(1)["CONNECTBUTTON"]["text"].text, "Connect") << "one side open is not connected";
  EXPECT_EQ(Rows(run.Main(1), "ALLCABLIST"), 0u);
  EXPECT_EQ(run.Main(2)["CONNECTBUTTON"]["text"].text, "Disconnect") << "the next press opens the other side";
  EXPECT_EQ(Rows(run.Main(2), "ALLCABLIST"), 230u);
  EXPECT_EQ(run.Main(3)["CONNECTBUTTON"]["text"].text, "Connect");
  EXPECT_EQ(Rows(run.Main(3), "ALLCABLIST"), 230u) << "the list stays as it was";
  EXPECT_EQ(run.Main(4)["CONNECTBUTTON"]["text"].text, "Disconnect");
  EXPECT_EQ(Rows(run.Main(4), "ALLCABLIST"), 230u);
  EXPECT_EQ(run.CountSent(kCabList), 2u);

  // Two replies between ticks: counted first, then applied in order, so the later one (the
  // right side's cab, not cab 150) decides the highlight.
  EXPECT_EQ(run.Main(5)["LOC:MIDIPACKETCOUNT"]["value"].text, "2");
  EXPECT_NE(run.Main(5)["ALLCABLIST"]["selected"].number, 150);
  EXPECT_TRUE(run.Sent("F0 00 01 74 03 02 6C 00 02 00 00 00 00 00 6A F7"));
  EXPECT_TRUE(run.Main(6)["CAB:SIDE"]["hidden"].boolean) << "block Cab 2 starts one-sided";
  EXPECT_EQ(run.Main(6)["CAB:SIDE"]["value"].text, "0");
  EXPECT_TRUE(run.Sent("F0 00 01 74 03 02 6D 00 0C 00 00 00 00 00 65 F7"));
}

TEST(LibrarianConnection, RefreshPressedTwiceOrReconnectingListsEachCabOnce) {
  const LibrarianRun run = RunLibrarian(ConnectScript() +
                                        "press REFRESHBUTTON\npress REFRESHBUTTON\nwait 3\ndump\n"
                                        "press CONNECTBUTTON\npress CONNECTBUTTON\nwait 3\ndump\n");
  ASSERT_EQ(run.status, 0) << run.Error();
  ASSERT_EQ(run.dumps.size(), 2u);
  for (std::size_t dump = 0; dump < 2; ++dump) {
    const Json& list = run.Main(dump)["ALLCABLIST"];
    ASSERT_EQ(Rows(run.Main(dump), "ALLCABLIST"), 230u) << "dump " << dump;
    for (std::size_t row = 1; row <= 230; ++row) EXPECT_EQ(RowCells(list, row).at(0), std::to_string(row));
  }
  EXPECT_GE(run.CountSent(kCabList), 4u) << "every press asked the unit again";
}

// Files that begin like a cab file but are not one are refused before the safety question.
std::vector<std::pair<std::string, std::string>> LookAlikeCabFiles() {
  const std::string sample = FileText(BOXWRIGHT_SAMPLE_CAB);
  std::string badChecksum = sample;
  badChecksum[11 + 170 * 3 + 40] ^= 0x01;  // a chunk byte of the fourth data message
  std::string rename = BytesFromHex("F0 00 01 74 03 2D 00 61 62 63");
  rename += std::string(29, '\0') + BytesFromHex("4B F7");
  const std::vector<std::string> messages = SplitMessages(sample);
  std::string foreign = messages.front() + BytesFromHex("F0 00 01 74 03 77 00 02 F7");
  for (std::size_t i = 1; i < messages.size(); ++i) foreign += messages[i];
  return {{"half.syx", sample.substr(0, sample.size() / 2)},
          {"checksum.syx", badChecksum},
          {"renames.syx", sample + rename},
          {"foreign.syx", foreign}};
}

TEST(LibrarianUpload, RefusalsAndConfirmations) {
  std::vector<std::pair<std::string, std::string>> files = {
      {"good.syx", CabFileBytes(0x7F, "Dropped")},
      {"list.syx", BytesFromHex("F0 00 01 74 03 12 7F 7F 14 F7")},
      {"short.syx", BytesFromHex("F0 00 01 74 03 7A 7F")},
      {"empty.syx", ""},
      {"slot.syx", CabFileBytes(0x05, "Fixed")}};
  const auto lookAlikes = LookAlikeCabFiles();
  files.insert(files.end(), lookAlikes.begin(), lookAlikes.end());

  std::string script = ConnectScript() + "answer message \"OK\"\ndrop SHEET1 \"good.syx\"\n"  // a factory cab
                                         "select ALLCABLIST 135\n";
  for (const char* file : {"list.syx", "short.syx", "missing.syx", "empty.syx", "slot.syx"})
    script += "answer message \"OK\"\ndrop SHEET1 \"" + std::string(file) + "\"\n";
  script += "answer message \"No\"\ndrop SHEET1 \"good.syx\"\nwait 2\n"
            "press GLO:SAFETYMODE\n";
  for (const auto& [name, bytes] : lookAlikes) script += "answer message \"OK\"\ndrop SHEET1 \"" + name + "\"\n";
  script += "drop SHEET1 \"good.syx\"\nwait 3\ndump\n";
  const LibrarianRun run = RunLibrarian(script, files);
  ASSERT_EQ(run.status, 0) << run.Error();
  const auto messages = run.Lines("message");
  ASSERT_EQ(messages.size(), 7u + lookAlikes.size());
  EXPECT_EQ(messages[0]["text"].text, "You cannot upload a cab into Factory slot!  Only into a user slot");
  for (int i : {1, 2, 3, 4}) EXPECT_EQ(messages[i]["text"].text, "Invalid CAB File Detected!");
  EXPECT_EQ(messages[5]["text"].text,
            "This cab file has a hard coded cabinet slot.  Cannot upload to currently selected slot.  Sorry!");
  for (int i : {0, 1, 2, 3, 4, 5}) EXPECT_EQ(messages[i]["caption"].text, "Error Uploading Cab");
  EXPECT_EQ(messages[6]["caption"].text, "Cab Upload Confirmation");
  EXPECT_EQ(messages[6]["buttons"].items.size(), 2u);
  EXPECT_EQ(messages[6]["answer"].text, "No");
  for (std::size_t i = 0; i < lookAlikes.size(); ++i) {
    EXPECT_EQ(messages[7 + i]["text"].text, "Invalid CAB File Detected!") << lookAlikes[i].first;
    EXPECT_EQ(messages[7 + i]["caption"].text, "Error Uploading Cab") << lookAlikes[i].first;
  }
  EXPECT_EQ(run.CountSent(kCabFile), 1u) << "only the upload without safety mode is sent";
  EXPECT_EQ(run.CountSent(kCabFileData), 64u) << "and nothing of the refused files";
  EXPECT_EQ(run.CountSent(kRename), 0u);
  EXPECT_TRUE(run.SentWhole(CabFileBytes(0x7F, "Dropped")));
  EXPECT_EQ(run.CountSent(kCabList), 2u) << "No refreshes nothing; the upload refreshes once";
  EXPECT_EQ(RowCells(run.Main(0)["ALLCABLIST"], 135)[2], "Dropped");
}

// What the user drops or picks that is not a cab or favourites file is refused at once with
// a message and the script goes on: nothing waits on a pipe, reads a device or a huge file,
// nothing is sent, and the favourites stay.
TEST(LibrarianUpload, WhatIsNotACabFileIsRefusedAtOnceAndNothingIsSent) {
  const struct {
    const char* file;
    const char* text;  // "" for "Invalid CAB File Detected!"
  } drops[] = {
      {"fifo.syx", "It is a named pipe, not a file."}, {"zero.syx", "It is a device, not a file."},
      {"folder.syx", "It is a folder, not a file."},   {"socket.syx", "It is a socket, not a file."},
      {"60mb.syx", ""},                                {"2gib.syx", ""},
  };
  std::string script = ConnectScript() + "answer popup \"Add To Favourites\"\nrightclick ALLCABLIST 3\n"
                                         "select ALLCABLIST 135\n";
  for (const auto& d : drops) script += "answer message \"OK\"\ndrop SHEET1 \"" + std::string(d.file) + "\"\n";
  script += "select SHEET1 2\n";
  for (const char* file : {"fifo.syx", "zero.syx", "socket.syx"}) {
    script += "answer popup \"Load Favourites From File...\"\nanswer open \"" + std::string(file) +
              "\"\nanswer message \"OK\"\nrightclick FAVCABLIST 0\n";
  }
  script += "wait 2\ndump\n";
  const LibrarianRun run = RunLibrarian(script, {}, [](const fs::path& dir) {
    test_support::MakeFifo(dir / "fifo.syx");
    fs::create_symlink("/dev/zero", dir / "zero.syx");
    fs::create_directory(dir / "folder.syx");
    test_support::MakeSocket(dir / "socket.syx");
    const std::string cab = CabFileBytes(0x7F, "Huge");
    test_support::MakeSparseFile(dir / "60mb.syx", cab, 60u * 1000 * 1000);
    test_support::MakeSparseFile(dir / "2gib.syx", cab, (std::uintmax_t{1} << 31) - 1);
  });
  ASSERT_EQ(run.status, 0) << run.Error();
  const auto messages = run.Lines("message");
  ASSERT_EQ(messages.size(), 9u);
  for (std::size_t i = 0; i < std::size(drops); ++i) {
    const std::string expected = *drops[i].text ? "Cannot upload " + std::string(drops[i].file) + ": " + drops[i].text
                                                : "Invalid CAB File Detected!";
    EXPECT_EQ(messages[i]["text"].text, expected);
    EXPECT_EQ(messages[i]["caption"].text, "Error Uploading Cab");
  }
  for (std::size_t i : {0, 1, 3}) {
    EXPECT_EQ(messages[6 + std::min<std::size_t>(i, 2)]["text"].text,
              "The favourites could not be loaded from " + std::string(drops[i].file) + ": " + drops[i].text);
  }
  EXPECT_EQ(run.CountSent(kCabFile), 0u);
  EXPECT_EQ(Rows(run.Main(0), "FAVCABLIST"), 1u) << "the favourite added before stays";
}

// The safety switch of a first run is on, so a drop asks before it overwrites a slot; a
// switch the user turned off stays off from one run to the next.
TEST(LibrarianUpload, FirstRunAsksAndAStoredSwitchStandsAsStored) {
  struct {
    const char* stored;  // the switch's line in "settings.ini", "" for a first run
    const char* shown;
    std::size_t questions;
    std::size_t uploads;
  } cases[] = {{"", "1", 1, 0}, {"GLO:SafetyMode=0\r\n", "0", 0, 1}, {"GLO:SafetyMode=1\r\n", "1", 1, 0}};
  for (const auto& c : cases) {
    std::vector<std::pair<std::string, std::string>> files = {{"good.syx", CabFileBytes(0x7F, "Dropped")}};
    if (*c.stored) files.emplace_back("settings.ini", std::string("[Preserved]\r\n") + c.stored);
    const LibrarianRun run =
        RunLibrarian(ConnectScript() + "dump\nselect ALLCABLIST 135\nanswer message \"No\"\ndrop SHEET1 \"good.syx\"\n"
                                       "wait 3\n", files);
    ASSERT_EQ(run.status, 0) << run.Error();
    EXPECT_EQ(run.Main(0)["GLO:SAFETYMODE"]["value"].text, c.shown) << c.stored;
    const auto messages = run.Lines("message");
    ASSERT_EQ(messages.size(), c.questions) << c.stored;
    for (const Json& message : messages) EXPECT_EQ(message["caption"].text, "Cab Upload Confirmation");
    EXPECT_EQ(run.CountSent(0x7A), c.uploads) << c.stored;
    const std::string saved = std::string("GLO:SafetyMode=") + c.shown + "\r\n";
    EXPECT_NE(FileText(run.folder + "/settings.ini").find(saved), std::string::npos) << c.stored;
  }
}

TEST(LibrarianRename, CancelEmptyOrBlankNameCleanedNameAndSlotsBeyondTheMessage) {
  const std::string place =
      "[RenameCab]\r\nMaximize=No\r\nMinimize=No\r\nXPos=40\r\nYPos=50\r\n";
  const LibrarianRun run = RunLibrarian(
      ConnectScript() + "answer popup \"Rename Cabinet\"\nrightclick ALLCABLIST 131\npress CANCELBUTTON\n"
      "answer popup \"Rename Cabinet\"\nrightclick ALLCABLIST 131\nset GLO:CABNAME \"\"\npress OKBUTTON\ndump\n"
      "set GLO:CABNAME \"   \"\npress OKBUTTON\ndump\n"
      "set GLO:CABNAME \"caf\xC3\xA9 Tone\tABCDEFGHIJKLMNOPQRSTUVWXYZ\"\ndump\npress OKBUTTON\nwait 3\ndump\n"
      // with offset 1, cab 200 is user cab 200
      "set GLO:USERCABOFFSET \"1\"\npress REFRESHBUTTON\nwait 3\n"
      "answer popup \"Rename Cabinet\"\nanswer message \"OK\"\nrightclick ALLCABLIST 200\n",
      {{"settings.ini", place}});
  ASSERT_EQ(run.status, 0) << run.Error();
  EXPECT_EQ(run.Lines("beep").size(), 3u) << "the empty name, the blank one, then the characters the entry does not take";
  ASSERT_EQ(run.dumps.size(), 4u);
  for (int i : {0, 1}) EXPECT_TRUE(run.dumps[i].Has("Rename Cab")) << "the window stays open, dump " << i;
  // What no message can carry is left out as it is typed; the entry then holds 31 characters.
  const std::string kept = "caf ToneABCDEFGHIJKLMNOPQRSTUVW";
  EXPECT_EQ(run.dumps[2]["Rename Cab"]["GLO:CABNAME"]["value"].text, kept);
  EXPECT_EQ(RowCells(run.Main(3)["ALLCABLIST"], 131)[2], kept);
  EXPECT_EQ(run.CountSent(kRename), 1u) << "Cancel and the refused slot send nothing";
  const auto messages = run.Lines("message");
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0]["text"].text.find("User cab 200"), std::string::npos);
  EXPECT_NE(FileText(run.folder + "/settings.ini").find(place), std::string::npos) << "reopened where it was";
}

}  // namespace
