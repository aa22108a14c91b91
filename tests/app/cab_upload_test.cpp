#include <gtest/gtest.h>

#include <fstream>

#include "app/cab_upload.h"
#include "app/globals.h"
#include "tests/app/answering_screen.h"
#include "tests/app/sent_messages.h"
#include "textrope/textrope.h"

namespace {

using app_test::BytesFromHex;

const std::string kSlotless = BytesFromHex("F0 00 01 74 03 7A 7F 4E 65 77 00 00 5F F7");

class CabUpload : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetLibrarianState();
    app_test::OpenSimulatedOutput();
    CAB_QUEUE->CabNum = 135;
    CAB_QUEUE->UserCab = 5;
    CAB_QUEUE->Name = "Old Name   ";
    CAB_QUEUE.Add();
  }
  void TearDown() override {
    if (midilink::HMIDIOUT != nullptr) app_test::CloseAndTakeSent();
    rt::UseScreen(nullptr);
  }
  std::string Write(const std::string& name, const std::string& bytes) {
    std::ofstream(name, std::ios::binary) << bytes;
    return name;
  }
  app_test::AnsweringScreen& screen = app_test::UseAnsweringScreen();
  Textrope ST;
};

TEST_F(CabUpload, RefusalsSendNothing) {
  struct {
    const char* name;
    LONG userCab;
    std::string file;
    const char* text;
  } cases[] = {
      {"factory slot", 0, Write("good.syx", kSlotless), "You cannot upload a cab into Factory slot!  Only into a user slot"},
      {"not a cab file", 5, Write("list.syx", BytesFromHex("F0 00 01 74 03 12 7F 7F 14 F7")), "Invalid CAB File Detected!"},
      {"too short", 5, Write("short.syx", BytesFromHex("F0 00 01 74 03 7A 7F")), "Invalid CAB File Detected!"},
      {"empty", 5, Write("empty.syx", ""), "Invalid CAB File Detected!"},
      {"unreadable", 5, "no-such-file.syx", "Invalid CAB File Detected!"},
      {"hard-coded slot", 5, Write("slot.syx", BytesFromHex("F0 00 01 74 03 7A 05 4E 00 00 00 F7")),
       "This cab file has a hard coded cabinet slot.  Cannot upload to currently selected slot.  Sorry!"},
  };
  GLO::SafetyMode = 1;
  for (const auto& c : cases) {
    screen.messages.clear();
    CAB_QUEUE->UserCab = c.userCab;
    // Whatever an earlier load left behind must not travel.
    ST.SetValue(kSlotless);
    EXPECT_FALSE(UploadDroppedCab(ST, c.file)) << c.name;
    ASSERT_EQ(screen.messages.size(), 1u) << c.name;
    EXPECT_EQ(screen.messages[0].text, c.text) << c.name;
    EXPECT_EQ(screen.messages[0].caption, "Error Uploading Cab") << c.name;
    EXPECT_EQ(screen.messages[0].icon, "asterisk") << c.name;
  }
  EXPECT_TRUE(app_test::CloseAndTakeSent().empty());
}

TEST_F(CabUpload, SafetyModeAsksAndNoSendsNothing) {
  const std::string file = Write("good.syx", kSlotless);
  GLO::SafetyMode = 1;
  screen.buttons = {"No"};
  EXPECT_FALSE(UploadDroppedCab(ST, file));
  ASSERT_EQ(screen.messages.size(), 1u);
  EXPECT_EQ(screen.messages[0].caption, "Cab Upload Confirmation");
  EXPECT_EQ(screen.messages[0].text,
            "Are you sure you want to over write the cab named:\r\nOld Name\r\nin slot 5 with this Cab File?");
  EXPECT_EQ(screen.messages[0].buttons, (std::vector<std::string>{"Yes", "No"}));
  EXPECT_EQ(screen.messages[0].defaultButton, 2);
  EXPECT_TRUE(app_test::CloseAndTakeSent().empty());
}

TEST_F(CabUpload, ConfirmedOrUnguardedUploadSendsTheFileUnchanged) {
  const std::string file = Write("good.syx", kSlotless);
  GLO::SafetyMode = 1;
  screen.buttons = {"Yes"};
  EXPECT_TRUE(UploadDroppedCab(ST, file));
  GLO::SafetyMode = 0;
  EXPECT_TRUE(UploadDroppedCab(ST, file));
  EXPECT_EQ(screen.messages.size(), 1u) << "no question without safety mode";
  auto sent = app_test::CloseAndTakeSent();
  ASSERT_EQ(sent.size(), 2u);
  EXPECT_EQ(sent[0], app_test::HexBytes(kSlotless));
  EXPECT_EQ(sent[1], app_test::HexBytes(kSlotless));
}

}  // namespace
