#include <gtest/gtest.h>

#include <string>

#include "tests/textrope/support.h"
#include "textrope/textrope.h"

namespace {

using namespace std::string_literals;

constexpr ULONG kMinusOne = 4294967295u;  // a caller's -1

TEST(TextropeEdit, SetSliceTable) {
  struct Case {
    std::string value;
    ULONG start, end;
    std::string text, expected;
  } cases[] = {
      {"abcdef", 3, 0, "xy", "abxyef"},
      {"abcdef", 3, 6, "xy", "abxy  "},
      {"abc", 8, 9, "xy", "abc    xy"},
      {"abcdef", 0, 2, "x", "abcdef"},
      {"abcdef", 5, 4, "x", "abcdef"},
      {"abcdef", 2, 0, "", "a cdef"},
      {"abcdef", 2, 3, "wxyz", "awxdef"},
      {"", 1, 0, "xy", "xy"},
      {"", 3, 3, "x", "  x"},
      {"ab", 2, 0, "\0\0"s, "a\0\0"s},
      {"abc", kMinusOne, 0, "x", "abc"},
      {"abc", kMinusOne, kMinusOne, "x", "abc"},
      {"abc", 2, kMinusOne, "x", "abc"},  // would grow past the LONG range
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Edited(c.value, [&](Textrope& t) { t.SetSlice(c.start, c.end, c.text); }), c.expected)
        << "SetSlice(" << c.start << ", " << c.end << ", '" << c.text << "') on '" << c.value << "'";
  }
}

TEST(TextropeEdit, InsertTable) {
  struct Case {
    std::string value;
    ULONG start;
    std::string text, expected;
  } cases[] = {
      {"abc", 1, "xy", "xyabc"},  {"abc", 4, "xy", "abcxy"},     {"abc", 6, "xy", "abc  xy"},
      {"abc", 2, "xy", "axybc"},  {"abc", 0, "xy", "abc"},       {"abc", 2, "", "abc"},
      {"", 2, "x", " x"},         {"a\0c"s, 3, "\0"s, "a\0\0c"s}, {"abc", kMinusOne, "x", "abc"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Edited(c.value, [&](Textrope& t) { t.Insert(c.start, c.text); }), c.expected)
        << "Insert(" << c.start << ", '" << c.text << "') on '" << c.value << "'";
  }
}

TEST(TextropeEdit, SliceTextMayComeFromTheValueItself) {
  Textrope t;
  t.SetValue("abc");
  t.SetSlice(4, 0, t.value);  // grows the block the text lives in
  EXPECT_EQ(t.value, "abcabc");
  t.Insert(2, std::string_view(t.value).substr(0, 2));
  EXPECT_EQ(t.value, "aabbcabc");
}

TEST(TextropeEdit, RemoveDelimitedAndPlain) {
  struct Case {
    const char *value, *left, *right;
    LONG noCase, contentsOnly, count;
    const char* expected;
    LONG removed;
  } cases[] = {
      {"a<b>x</b>c<b>y</b>", "<b>", "</b>", 0, 0, 0, "ac", 2},
      {"a<b>x</b>c<b>y</b>", "<b>", "</b>", 0, 1, 0, "a<b></b>c<b></b>", 2},
      {"a<b>x</b>c<b>y</b>", "<b>", "</b>", 0, 0, 1, "ac<b>y</b>", 1},
      {"a<B>x</b>c", "<b>", "</B>", 1, 0, 0, "ac", 1},
      {"a<b></b>c<b>y</b>", "<b>", "</b>", 0, 1, 0, "a<b></b>c<b></b>", 1},
      {"a<b>x", "<b>", "</b>", 0, 0, 0, "a<b>x", 0},
      {"xaxbx", "x", "", 0, 0, 0, "ab", 3},
      {"xaxbx", "X", "", 1, 0, 2, "abx", 2},
      {"a b c", " ", " ", 0, 0, 0, "a b c", 0},  // blank markers remove nothing and must end
      {"a b c", " ", " ", 0, 1, 0, "a b c", 0},
  };
  for (const auto& c : cases) {
    Textrope t;
    t.SetValue(c.value);
    EXPECT_EQ(t.Remove(c.left, c.right, c.noCase, c.contentsOnly, c.count), c.removed) << c.value;
    EXPECT_EQ(t.value, c.expected) << c.value;
  }
}

TEST(TextropeEdit, RemoveAttributesMatchesWholeTagNames) {
  struct Case {
    const char *value, *tag, *expected;
  } cases[] = {
      {"<td class=a>1</td>", "td", "<td>1</td>"},
      {"<td class=a>1</td><td x>2</td>", "td  ", "<td>1</td><td>2</td>"},
      {"<tdx class=a>1</tdx>", "td", "<tdx class=a>1</tdx>"},
      {"<td\tclass=a>", "td", "<td>"},
      {"<td>1</td>", "td", "<td>1</td>"},
      {"<td class=a", "td", "<td class=a"},
      {"<TD class=a>", "td", "<TD class=a>"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Edited(c.value, [&](Textrope& t) { t.RemoveAttributes(c.tag); }), c.expected) << c.value;
  }
}

TEST(TextropeEdit, JustifyingTable) {
  enum Op { kLeft, kRight };
  struct Case {
    Op op;
    std::string value;
    LONG length, what;
    const char* pad;
    std::string expected;
  } cases[] = {
      {kLeft, "\t ab", 0, 3, "*", "ab**"},
      {kLeft, "\t ab", 3, 3, "*", "ab*"},
      {kLeft, "  ab", 0, 1, "", "ab  "},
      {kLeft, "  abc", 2, 1, "", "ab"},
      {kLeft, "\r\nab", 3, 12, "-", "ab-"},
      {kLeft, "\tab", 0, 1, "", "\tab"},
      {kLeft, "", 2, 1, "*", "**"},
      {kRight, "ab  ", 0, 1, "*", "**ab"},
      {kRight, "ab  ", 1, 1, "*", "b"},
      {kRight, "ab  ", 0, 1, "", "  ab"},
      {kRight, "ab\t\n", 5, 10, "", "   ab"},
      {kRight, "   ", 2, 1, "", "  "},
  };
  for (const auto& c : cases) {
    Textrope t;
    t.SetValue(c.value);
    std::string got = c.op == kLeft ? t.Left(c.length, c.what, c.pad) : t.Right(c.length, c.what, c.pad);
    EXPECT_EQ(got, c.expected) << (c.op == kLeft ? "Left" : "Right") << "(" << c.length << ", " << c.what
                               << ") on '" << c.value << "'";
    EXPECT_EQ(t.value, c.value);
    c.op == kLeft ? t.SetLeft(c.length, c.what, c.pad) : t.SetRight(c.length, c.what, c.pad);
    EXPECT_EQ(t.value, c.expected);
  }
}

TEST(TextropeEdit, TrimClipRepeatAndStr) {
  Textrope t;
  t.SetValue("  a b  ");
  t.Trim();
  EXPECT_EQ(t.value, "a b");
  t.SetValue("  a  ");
  t.Clip();
  EXPECT_EQ(t.value, "  a");
  t.SetValue("   ");
  t.Trim();
  EXPECT_EQ(t.Length(), 0);

  t.SetValue("ab");
  EXPECT_EQ(t.All(5), "ababa");
  t.SetAll(3);
  EXPECT_EQ(t.value, "aba");
  t.SetAll(0);
  EXPECT_EQ(t.Length(), 0);

  t.base64 = 1;
  EXPECT_EQ(t.Str("x\0y"s), "x\0y"s);
  EXPECT_EQ(t.base64, 0);
  EXPECT_EQ(t.Str(), "x\0y"s);
  EXPECT_EQ(t.Str(""), "");
  EXPECT_EQ(t.Length(), 0);
  EXPECT_EQ(t.Str(), "");
}

}  // namespace
