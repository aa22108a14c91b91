#include <gtest/gtest.h>

#include <functional>

#include "app/globals.h"
#include "app/sysex_senders.h"
#include "app/sysex_templates.h"
#include "tests/app/sent_messages.h"
#include "textrope/textrope.h"

namespace {

using app_test::BytesFromHex;
using app_test::CloseAndTakeSent;
using app_test::HexBytes;

BYTE XorChecksum(std::string_view message) {
  BYTE sum = 0;
  for (std::size_t i = 0; i + 2 < message.size(); ++i) sum ^= static_cast<BYTE>(message[i]);
  return sum & 0x7F;
}

class SysExMessages : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetLibrarianState();
    app_test::OpenSimulatedOutput();
  }
  void TearDown() override {
    if (midilink::HMIDIOUT != nullptr) CloseAndTakeSent();
  }
  void Radios(BYTE number, BYTE side, BYTE xy) {
    CAB::Number = number;
    CAB::Side = side;
    CAB::Switch = xy;
  }
  Textrope ST;
};

struct FixedCase {
  const char* name;
  BYTE number, side, xy;
  std::function<void(Textrope&)> send;
  const char* bytes;
};

TEST_F(SysExMessages, FixedMessagesOfEveryBlockSideAndState) {
  const FixedCase cases[] = {
      {"cab 1 left", 0, 0, 0, GetCabinetNumber, "F0 00 01 74 03 02 6C 00 00 00 00 00 00 00 68 F7"},
      {"cab 1 right", 0, 1, 0, GetCabinetNumber, "F0 00 01 74 03 02 6C 00 02 00 00 00 00 00 6A F7"},
      {"cab 2 left", 1, 0, 0, GetCabinetNumber, "F0 00 01 74 03 02 6D 00 00 00 00 00 00 00 69 F7"},
      {"cab 2 right", 1, 1, 0, GetCabinetNumber, "F0 00 01 74 03 02 6D 00 02 00 00 00 00 00 6B F7"},
      {"mode cab 1", 0, 1, 1, GetCabinetMode, "F0 00 01 74 03 02 6C 00 0C 00 00 00 00 00 64 F7"},
      {"mode cab 2", 1, 0, 0, GetCabinetMode, "F0 00 01 74 03 02 6D 00 0C 00 00 00 00 00 65 F7"},
      {"xy query cab 1", 0, 0, 1, GetCabinetXY, "F0 00 01 74 03 11 6C 00 00 00 7B F7"},
      {"xy query cab 2", 1, 1, 1, GetCabinetXY, "F0 00 01 74 03 11 6D 00 00 00 7A F7"},
      {"cab 1 to X", 0, 0, 0, SetCabinetXY, "F0 00 01 74 03 11 6C 00 00 01 7A F7"},
      {"cab 1 to Y", 0, 0, 1, SetCabinetXY, "F0 00 01 74 03 11 6C 00 01 01 7B F7"},
      {"cab 2 to X", 1, 1, 0, SetCabinetXY, "F0 00 01 74 03 11 6D 00 00 01 7B F7"},
      {"cab 2 to Y", 1, 0, 1, SetCabinetXY, "F0 00 01 74 03 11 6D 00 01 01 7A F7"},
      {"cab list", 1, 1, 1, RequestCabList, "F0 00 01 74 03 12 7F 7F 14 F7"},
  };
  for (const auto& c : cases) {
    Radios(c.number, c.side, c.xy);
    c.send(ST);
  }
  auto sent = CloseAndTakeSent();
  ASSERT_EQ(sent.size(), std::size(cases));
  for (std::size_t i = 0; i < sent.size(); ++i) {
    EXPECT_EQ(sent[i], cases[i].bytes) << cases[i].name;
    const std::string bytes = BytesFromHex(sent[i]);
    EXPECT_EQ(static_cast<BYTE>(bytes[bytes.size() - 2]), XorChecksum(bytes)) << cases[i].name;
  }
}

TEST_F(SysExMessages, SelectPatchesTheCabIndexAndChecksum) {
  struct {
    BYTE number, side;
    LONG v;
    const char* bytes;
  } cases[] = {
      {0, 0, 149, "F0 00 01 74 03 02 6C 00 00 00 15 01 00 01 7D F7"},
      {1, 1, 0, "F0 00 01 74 03 02 6D 00 02 00 00 00 00 01 6A F7"},
      {0, 1, 127, "F0 00 01 74 03 02 6C 00 02 00 7F 00 00 01 14 F7"},
      {1, 0, 128, "F0 00 01 74 03 02 6D 00 00 00 00 01 00 01 69 F7"},
      {0, 0, 16383, "F0 00 01 74 03 02 6C 00 00 00 7F 7F 00 01 69 F7"},
  };
  for (const auto& c : cases) {
    Radios(c.number, c.side, 0);
    GLO::CabToSend = c.v;
    SelectCabOnAxeFX(ST);
  }
  auto sent = CloseAndTakeSent();
  ASSERT_EQ(sent.size(), std::size(cases));
  for (std::size_t i = 0; i < sent.size(); ++i) {
    EXPECT_EQ(sent[i], cases[i].bytes) << "v = " << cases[i].v;
    const std::string bytes = BytesFromHex(sent[i]);
    EXPECT_EQ(static_cast<BYTE>(bytes[14]), XorChecksum(bytes)) << "v = " << cases[i].v;
  }
}

TEST_F(SysExMessages, RenameCarriesSlotNamePaddingAndChecksum) {
  GLO::CabToSend = 0;
  GLO::CabName = "abc";
  EXPECT_TRUE(RenameUserCabinet(ST));
  GLO::CabToSend = 127;
  GLO::CabName = std::string(31, 'Z');
  EXPECT_TRUE(RenameUserCabinet(ST));
  auto sent = CloseAndTakeSent();
  ASSERT_EQ(sent.size(), 2u);

  std::string expected = "F0 00 01 74 03 2D 00 61 62 63";
  for (int i = 0; i < 29; ++i) expected += " 00";
  EXPECT_EQ(sent[0], expected + " 4B F7");

  const std::string longName = BytesFromHex(sent[1]);
  ASSERT_EQ(longName.size(), 41u);
  EXPECT_EQ(static_cast<BYTE>(longName[6]), 127);
  EXPECT_EQ(longName.substr(7, 31), std::string(31, 'Z'));
  EXPECT_EQ(longName[38], '\0') << "byte 39 always stays 00h";
  EXPECT_EQ(static_cast<BYTE>(longName[39]), XorChecksum(longName));
}

TEST_F(SysExMessages, RenameRefusesWhatTheMessageCannotCarry) {
  struct {
    LONG slot;
    std::string name;
  } refused[] = {
      {128, "abc"},                  // the slot travels as one data byte
      {-1, "abc"},
      {0, ""},
      {0, std::string(32, 'a')},     // longer than the name field
      {0, "caf\xE9"},                // a byte of 80h or more
      {0, std::string("a\0b", 3)},   // control bytes
  };
  for (const auto& r : refused) {
    GLO::CabToSend = r.slot;
    GLO::CabName = r.name;
    EXPECT_FALSE(RenameUserCabinet(ST)) << r.slot << " '" << r.name << "'";
  }
  EXPECT_TRUE(CloseAndTakeSent().empty());
}

TEST(SysExTemplates, EveryFixedTemplateCarriesItsOwnChecksum) {
  std::vector<std::string_view> templates = {sysex::CabListRequest};
  for (int b = 0; b < 2; ++b) {
    templates.push_back(sysex::CabModeQuery[b]);
    templates.push_back(sysex::CabXYQuery[b]);
    for (int s = 0; s < 2; ++s) {
      templates.push_back(sysex::CabNumberQuery[b][s]);
      templates.push_back(sysex::CabXYSet[b][s]);
      templates.push_back(sysex::SelectCab[b][s]);
      Textrope ST;
      ST.SetValue(sysex::SelectCab[b][s]);
      ST.FromHex();
      BYTE base = 0;
      for (int i : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 13}) base ^= static_cast<BYTE>(ST.value[static_cast<std::size_t>(i)]);
      EXPECT_EQ(base, sysex::SelectChecksumBase[b][s]);
    }
  }
  for (std::string_view hex : templates) {
    Textrope ST;
    ST.SetValue(hex);
    ST.FromHex();
    EXPECT_EQ(static_cast<BYTE>(ST.value[ST.value.size() - 2]), XorChecksum(ST.value)) << hex;
    EXPECT_EQ(static_cast<BYTE>(ST.value.back()), 0xF7) << hex;
  }
  EXPECT_EQ(sysex::RenameCab.size(), 82u);
}

}  // namespace
