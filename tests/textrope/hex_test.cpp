#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <random>
#include <string>

#include "tests/textrope/support.h"
#include "textrope/textrope.h"

namespace {

using namespace std::string_literals;

TEST(TextropeHex, FromHexTable) {
  struct Case {
    std::string text, bytes;
  } cases[] = {
      {"00ff7f80", "\x00\xff\x7f\x80"s}, {"00FF7F80", "\x00\xff\x7f\x80"s}, {"abc", "\xab"},
      {"zz", "\0"s},                     {" 5", "\x05"},                    {"5 ", "\x05"},
      {"g5", "\x05"},                    {"5g", "\x05"},                    {"  ", "\0"s},
      {"", ""},                          {"7", "7"},  // nothing to convert: unchanged
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Edited(c.text, [](Textrope& t) { t.FromHex(); }), c.bytes) << "'" << c.text << "'";
  }
}

TEST(TextropeHex, ToHexCaseAndTrailingBlanks) {
  struct Case {
    std::string bytes;
    LONG pCase;
    std::string text;
  } cases[] = {
      {"\xf0\x00"s, 0, "f000"}, {"\xf0\x00"s, 5, "f000"}, {"\xf0\x00"s, 1, "F000"},
      {"\xf0\x00"s, 2, "f000"}, {"ab ", 0, "616220"},     {"\0\0"s, 0, "0000"},
      {"", 1, ""},
  };
  for (const auto& c : cases) {
    Textrope t;
    t.SetValue(c.bytes);
    t.ToHex(c.pCase);
    EXPECT_EQ(t.value, c.text);
    t.FromHex();
    EXPECT_EQ(t.value, c.bytes);
  }
}

TEST(TextropeHex, StringToHexNeverReadsPastTheData) {
  Textrope t;
  EXPECT_EQ(t.StringToHex("ab  ", 0, 0), "6162");
  EXPECT_EQ(t.StringToHex("ab", 1, 0), "61");
  EXPECT_EQ(t.StringToHex("ab", 99, 1), "6162");
  EXPECT_EQ(t.StringToHex(std::string_view("ab\0cd", 2), 5, 0), "6162");
  EXPECT_EQ(t.StringToHex("ab", -3, 0), "6162");
  EXPECT_EQ(t.StringToHex("   ", 0, 0), std::nullopt);
  EXPECT_EQ(t.StringToHex("", 4, 0), std::nullopt);
  EXPECT_EQ(t.HexToString("f"), std::nullopt);
  EXPECT_EQ(t.HexToString("4142"), "AB");
}

TEST(TextropeHex, SingleNumbers) {
  Textrope t;
  EXPECT_EQ(t.LongToHex(255), "000000ff");
  EXPECT_EQ(t.LongToHex(-1), "ffffffff");
  EXPECT_EQ(t.LongToHex(0x12AB34CD), "12ab34cd");
  EXPECT_EQ(t.ByteToHex(0x0A), "0a");
  EXPECT_EQ(t.HexToByte("7"), 7);
  EXPECT_EQ(t.HexToByte("FF"), 255);
  EXPECT_EQ(t.HexToByte("1ff"), 0);
  EXPECT_EQ(t.HexToByte(""), 0);
}

TEST(TextropeHex, BaseToDecTable) {
  struct Case {
    const char* num;
    LONG base, expected;
  } cases[] = {
      {"ff", 16, 255},  {"FF", 16, 255}, {"1g", 16, 1},   {"zz", 16, 0},    {"12  ", 10, 12},
      {"1-2", 10, 102}, {"", 16, 0},     {"z", 36, 35},   {" 7", 10, 7},    {"101", 2, 5},
      {"7fffffff", 16, INT32_MAX},        {"ffffffff", 16, -1},              {"100000000", 16, 0},
      {"12", 0, 0},     {"12", -4, 0},
  };
  for (const auto& c : cases) {
    Textrope t;
    EXPECT_EQ(t.BaseToDec(c.num, c.base), c.expected) << "'" << c.num << "' base " << c.base;
  }
}

TEST(TextropeHex, DecToBaseTable) {
  struct Case {
    LONG num, base, lowerCase;
    const char* expected;
  } cases[] = {
      {255, 16, 1, "ff"}, {255, 16, 0, "FF"}, {5, 2, 0, "101"},  {0, 16, 0, ""},
      {-5, 10, 0, ""},    {35, 36, 0, ""},    {10, 1, 0, ""},    {10, 0, 0, ""},
      {10, -2, 0, ""},    {INT32_MAX, 2, 0, "1111111111111111111111111111111"},
      {INT32_MAX, 16, 0, "7FFFFFFF"},
  };
  for (const auto& c : cases) {
    Textrope t;
    EXPECT_EQ(t.DecToBase(c.num, c.base, c.lowerCase), c.expected) << c.num << " base " << c.base;
  }
}

// Device messages built the way the librarian builds them: upper-case hexadecimal
// templates patched with SetSlice, turned into bytes with FromHex, back with ToHex.
TEST(TextropeDeviceMessages, SelectCabPatchesTheTemplate) {
  struct Case {
    const char* templateHex;
    int fixedChecksum;
    LONG cab;
    const char* expected;
  } cases[] = {
      {"F0 00 01 74 03 02 6C 00 00 00 00 00 00 01 00 F7", 0xE9, 149, "F0 00 01 74 03 02 6C 00 00 00 15 01 00 01 7D F7"},
      {"F0 00 01 74 03 02 6D 00 02 00 00 00 00 01 00 F7", 0xEA, 0, "F0 00 01 74 03 02 6D 00 02 00 00 00 00 01 6A F7"},
  };
  for (const auto& c : cases) {
    Textrope st;
    st.SetValue(BytesFromHex(c.templateHex));
    st.ToHex(1);
    LONG lsb = c.cab & 0x7F;
    LONG msb = (c.cab >> 7) & 0x7F;
    LONG checksum = (c.fixedChecksum ^ lsb ^ msb) & 0x7F;
    st.SetSlice(21, 22, st.DecToBase(lsb + 0x100, 16, 0).substr(1));
    st.SetSlice(23, 24, st.DecToBase(msb + 0x100, 16, 0).substr(1));
    st.SetSlice(29, 30, st.DecToBase(checksum + 0x100, 16, 0).substr(1));
    st.FromHex();
    EXPECT_EQ(st.value, BytesFromHex(c.expected)) << c.expected;
  }
}

TEST(TextropeDeviceMessages, RenameWritesSlotNameAndChecksum) {
  Textrope st;
  st.SetValue("F0000174032D" + std::string(68, '0') + "F7");
  st.FromHex();
  ASSERT_EQ(st.Length(), 41);
  st.SetSlice(7, 7, std::string(1, '\0'));
  st.SetSlice(8, 0, "abc");
  int checksum = 0xAB;
  for (ULONG i = 7; i <= 39; ++i) checksum ^= static_cast<unsigned char>(st.Slice(i, i)[0]);
  st.SetSlice(40, 40, std::string(1, static_cast<char>(checksum & 0x7F)));
  st.ToHex(0);
  EXPECT_EQ(st.value, "f0000174032d00616263" + std::string(58, '0') + "4bf7");
  st.FromHex();
  EXPECT_EQ(st.value, BytesFromHex("F0 00 01 74 03 2D 00 61 62 63") + std::string(29, '\0') + "\x4b\xf7");
}

TEST(TextropeDeviceMessages, CabListReplyReadsBack) {
  Textrope st;
  st.SetValue(BytesFromHex("F0 00 01 74 03 12 05 01") + "Name" + "\x3a\xf7" + "junk");
  st.Crop(1, 14);
  ASSERT_EQ(st.Length(), 14);
  EXPECT_EQ(128 * static_cast<unsigned char>(st.Slice(8, 8)[0]) + static_cast<unsigned char>(st.Slice(7, 7)[0]) + 1,
            134);
  EXPECT_EQ(st.Slice(9, static_cast<ULONG>(st.Length() - 2)), "Name");
  st.ToHex(0);
  EXPECT_EQ(st.value, "f000017403120501" "4e616d65" "3af7");
}

// Long texts go sixteen bytes at a time; they must give exactly what one pair or one byte at
// a time gives, with irregular characters anywhere in a block.
TEST(TextropeHex, LongTextsAgreeWithOneAtATime) {
  std::mt19937 random(5);
  const std::string alphabet = "0123456789abcdefABCDEF 5g-\xff\x00Zz"s;
  for (int round = 0; round < 200; ++round) {
    std::string bytes(random() % 70, '\0');
    for (char& c : bytes) c = static_cast<char>(random());
    std::string expectedHex;
    for (char c : bytes) {
      char pair[3];
      std::snprintf(pair, sizeof pair, "%02X", static_cast<unsigned char>(c));
      expectedHex += pair;
    }
    Textrope t;
    EXPECT_EQ(t.StringToHex(bytes, static_cast<LONG>(bytes.size()), 1).value_or(""), expectedHex);

    std::string text(random() % 140, '0');
    for (char& c : text) c = alphabet[random() % (round % 2 ? 22 : alphabet.size())];
    std::string expectedBytes;
    for (std::size_t i = 0; i + 1 < text.size(); i += 2) {
      expectedBytes += static_cast<char>(t.BaseToDec(text.substr(i, 2), 16) & 0xFF);
    }
    EXPECT_EQ(t.HexToString(text).value_or(""), expectedBytes) << text;

    // The value's own conversions: FromHex in place, ToHex over the block that FromHex
    // leaves (room for the digits) and into a fresh block (no room).
    Textrope own;
    own.SetValue(text);
    own.FromHex();
    EXPECT_TRUE(own.value == (expectedBytes.empty() ? text : expectedBytes)) << text;
    own.SetValue(bytes);
    own.ToHex(1);
    EXPECT_EQ(own.value, expectedHex);
    own.FromHex();
    EXPECT_TRUE(own.value == bytes);
    own.ToHex(1);
    EXPECT_EQ(own.value, expectedHex);
  }
}

}  // namespace
