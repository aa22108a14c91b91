#include <gtest/gtest.h>

#include <string>

#include "tests/textrope/support.h"
#include "textrope/textrope.h"

namespace {

using namespace std::string_literals;

TEST(TextropeByteOrder, ReverseByteOrderInPlace) {
  struct Case {
    std::string value, expected;
  } cases[] = {
      {"", ""},       {"a", "a"},         {"ab", "ba"},
      {"abc", "cba"}, {"a\0b\0"s, "\0b\0a"s}, {"\0x\0"s, "\0x\0"s},
      {"abcd ", " dcba"},
  };
  for (const Case& c : cases) {
    EXPECT_TRUE(Edited(c.value, [](Textrope& t) { t.ReverseByteOrder(); }) == c.expected) << c.value;
  }
}

TEST(TextropeByteOrder, NumbersSwapForBigEndianOnly) {
  Textrope t;
  EXPECT_EQ(t.SwitchEndian(0x11223344u), 0x44332211u);
  EXPECT_EQ(t.SwitchEndian(1), 0x01000000u);
  EXPECT_EQ(t.BigEndian(0x11223344u), 0x44332211u);
  EXPECT_EQ(t.LittleEndian(0x11223344u), 0x11223344u);

  struct Mirror : Textrope {
    ULONG SwitchEndian(ULONG x) override { return ~x; }
  } m;
  EXPECT_EQ(m.BigEndian(0), 0xFFFFFFFFu);  // reached through the object
}

TEST(TextropeWrap, WrapTextBreaksAtTheLastBreakByteOfEachWindow) {
  struct Case {
    std::string value;
    LONG width;
    std::string expected;
  } cases[] = {
      {"aaa bbb ccc", 5, "aaa\r\nbbb\r\nccc"},
      {"abcd efgh", 4, "abcd\r\nefgh"},
      {"abcdefghij", 4, "abcdefghij"},
      {"12345678901234567890", 0, "12345678901234567890"},
      {"12345678901234567890", -3, "12345678901234567890"},
      {"12345678901234567890", 20, "12345678901234567890"},
      {"", 3, ""},
      {"ab\x0b" "cd ef", 3, "ab\r\ncd\r\nef"},   // vertical tab breaks
      {"ab\tcd ef", 3, "ab\tcd\r\nef"},         // TAB does not
      {"a b c d", 2, "a\r\nb\r\nc\r\nd"},
      {"a  b", 2, "a\r\n\r\nb"},                // each blank at a window end breaks
      {"one\r\ntwo three", 6, "one\r\ntwo\r\nthree"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Edited(c.value, [&](Textrope& t) { t.WrapText(c.width); }), c.expected) << c.value << " at " << c.width;
  }
}

TEST(TextropeWrap, StrCpyPadsCutsAndReports) {
  struct Case {
    std::string in;
    std::size_t room;
    LONG clip;
    std::string out;
    LONG result;
  } cases[] = {
      {"abc", 5, 0, "abc  ", 0},
      {"abc", 2, 0, "ab", 3},
      {"abc     ", 5, 1, "abc  ", 0},
      {"abc     ", 5, 0, "abc  ", 8},
      {"abc", 0, 0, "", -1},
      {"", 3, 0, "   ", 0},
      {"   ", 3, 1, "   ", 0},
      {"a\0c"s, 4, 0, "a\0c "s, 0},
  };
  for (const Case& c : cases) {
    Textrope t;
    std::string out(c.room, '#');
    EXPECT_EQ(t.StrCpy(c.in, out, c.clip), c.result) << c.in;
    EXPECT_TRUE(out == c.out) << c.in;
  }
  Textrope t;
  std::string text = "selfcopy";
  EXPECT_EQ(t.StrCpy(std::string_view(text).substr(4), text, 0), 0);
  EXPECT_EQ(text, "copy    ");
}

}  // namespace
