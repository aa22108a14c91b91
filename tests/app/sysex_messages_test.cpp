#include <gtest/gtest.h>

#include <functional>

#include "app/sysex_senders.h"
#include "tests/app/sent_messages.h"
#include "textrope/textrope.h"

namespace {

using namespace app_test;

class SysExMessages : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetLibrarianState();
    ASSERT_TRUE(OpenSimulatedOutput());
  }
  void TearDown() override {
    if (midilink::HMIDIOUT != nullptr) CloseAndTakeSent();
  }
  Textrope ST;
};

// Each row: the radios (block, side, X/Y), the cab index or user slot, what is sent.
TEST_F(SysExMessages, EveryMessageOfEveryBlockSideAndState) {
  struct {
    BYTE number, side, xy;
    LONG cabToSend;
    std::function<void(Textrope&)> send;
    const char* bytes;
  } cases[] = {
      {0, 0, 0, 0, GetCabinetNumber, "F0 00 01 74 03 02 6C 00 00 00 00 00 00 00 68 F7"},
      {0, 1, 0, 0, GetCabinetNumber, "F0 00 01 74 03 02 6C 00 02 00 00 00 00 00 6A F7"},
      {1, 0, 0, 0, GetCabinetNumber, "F0 00 01 74 03 02 6D 00 00 00 00 00 00 00 69 F7"},
      {1, 1, 0, 0, GetCabinetNumber, "F0 00 01 74 03 02 6D 00 02 00 00 00 00 00 6B F7"},
      {0, 1, 1, 0, GetCabinetMode, "F0 00 01 74 03 02 6C 00 0C 00 00 00 00 00 64 F7"},
      {1, 0, 0, 0, GetCabinetMode, "F0 00 01 74 03 02 6D 00 0C 00 00 00 00 00 65 F7"},
      {0, 0, 1, 0, GetCabinetXY, "F0 00 01 74 03 11 6C 00 00 00 7B F7"},
      {1, 1, 1, 0, GetCabinetXY, "F0 00 01 74 03 11 6D 00 00 00 7A F7"},
      {0, 0, 0, 0, SetCabinetXY, "F0 00 01 74 03 11 6C 00 00 01 7A F7"},
      {0, 0, 1, 0, SetCabinetXY, "F0 00 01 74 03 11 6C 00 01 01 7B F7"},
      {1, 1, 0, 0, SetCabinetXY, "F0 00 01 74 03 11 6D 00 00 01 7B F7"},
      {1, 0, 1, 0, SetCabinetXY, "F0 00 01 74 03 11 6D 00 01 01 7A F7"},
      {1, 1, 1, 0, RequestCabList, "F0 00 01 74 03 12 7F 7F 14 F7"},
      {0, 0, 0, 149, SelectCabOnAxeFX, "F0 00 01 74 03 02 6C 00 00 00 15 01 00 01 7D F7"},
      {1, 1, 0, 0, SelectCabOnAxeFX, "F0 00 01 74 03 02 6D 00 02 00 00 00 00 01 6A F7"},
      {0, 1, 0, 127, SelectCabOnAxeFX, "F0 00 01 74 03 02 6C 00 02 00 7F 00 00 01 14 F7"},
      {1, 0, 0, 128, SelectCabOnAxeFX, "F0 00 01 74 03 02 6D 00 00 00 00 01 00 01 69 F7"},
      {0, 0, 0, 16383, SelectCabOnAxeFX, "F0 00 01 74 03 02 6C 00 00 00 7F 7F 00 01 69 F7"},
  };
  for (const auto& c : cases) {
    CAB::Number = c.number;
    CAB::Side = c.side;
    CAB::Switch = c.xy;
    GLO::CabToSend = c.cabToSend;
    c.send(ST);
  }
  const auto sent = CloseAndTakeSent();
  ASSERT_EQ(sent.size(), std::size(cases));
  for (std::size_t i = 0; i < sent.size(); ++i) EXPECT_EQ(sent[i], cases[i].bytes);
}

TEST_F(SysExMessages, RenameCarriesSlotPaddedNameAndChecksum) {
  GLO::CabToSend = 0;
  GLO::CabName = "abc";
  EXPECT_TRUE(RenameUserCabinet(ST));
  GLO::CabToSend = 127;
  GLO::CabName = std::string(31, 'Z');
  EXPECT_TRUE(RenameUserCabinet(ST));
  const auto sent = CloseAndTakeSent();
  ASSERT_EQ(sent.size(), 2u);
  std::string zeros;
  for (int i = 0; i < 29; ++i) zeros += " 00";
  EXPECT_EQ(sent[0], "F0 00 01 74 03 2D 00 61 62 63" + zeros + " 4B F7");
  std::string zs;
  for (int i = 0; i < 31; ++i) zs += " 5A";
  EXPECT_EQ(sent[1], "F0 00 01 74 03 2D 7F" + zs + " 00 0E F7") << "byte 39 always stays 00h";
}

TEST_F(SysExMessages, RenameRefusesWhatTheMessageCannotCarry) {
  struct {
    LONG slot;
    std::string name;
  } refused[] = {
      {128, "abc"},  // the slot travels as one data byte
      {-1, "abc"},
      {0, ""},
      {0, std::string(32, 'a')},    // longer than the name field
      {0, "caf\xE9"},               // a byte of 80h or more
      {0, std::string("a\0b", 3)},  // control bytes
  };
  for (const auto& r : refused) {
    GLO::CabToSend = r.slot;
    GLO::CabName = r.name;
    EXPECT_FALSE(RenameUserCabinet(ST)) << r.slot << " '" << r.name << "'";
  }
  EXPECT_TRUE(CloseAndTakeSent().empty());
}

}  // namespace
