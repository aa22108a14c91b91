#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "textrope/textrope.h"

namespace {

using namespace std::string_literals;
using Lines = std::vector<std::string>;

Lines LinesOf(Textrope& t) {
  Lines out;
  for (LONG n = 1; n <= t.Records(); ++n) out.push_back(t.GetLine(n));
  return out;
}

void SetLines(Textrope& t, const Lines& lines) {
  t.FreeLines();
  for (const std::string& line : lines) t.AddLine(t.Records() + 1, line);
}

TEST(TextropeSplit, PiecesBoundariesQuotesAndOptions) {
  struct Case {
    std::string value;
    const char *boundary, *quoteStart, *quoteEnd;
    LONG removeQuotes, clip, left;
    const char* separator;
    LONG nested;
    Lines expected;
  } cases[] = {
      {"a,,b", ",", "", "", 0, 0, 0, "", 0, {"a", " ", "b"}},
      {"a,b,", ",", "", "", 0, 0, 0, "", 0, {"a", "b"}},
      {",a", ",", "", "", 0, 0, 0, "", 0, {" ", "a"}},
      {",", ",", "", "", 0, 0, 0, "", 0, {" "}},
      {"abc", ",", "", "", 0, 0, 0, "", 0, {"abc"}},
      {"a, b", ", ", "", "", 0, 0, 0, "", 0, {"a", "b"}},
      {"a,b", "", "", "", 0, 0, 0, "", 0, {"a,b"}},
      {"", ",", "", "", 0, 0, 0, "", 0, {}},
      {"a\0\r\nb \r\n"s, "\r\n", "", "", 0, 0, 0, "", 0, {"a\0"s, "b "}},
      {"a<>b<>", "<>", "", "", 0, 0, 0, "", 0, {"a", "b"}},
      // quotes kept or removed, and a boundary at the ends of quoted text
      {"x,|a,b|,y", ",", "|", "", 1, 0, 0, "", 0, {"x", "a,b", "y"}},
      {"x,|a,b|,y", ",", "|", "", 0, 0, 0, "", 0, {"x", "|a,b|", "y"}},
      {"|a,b|", ",", "|", "", 1, 0, 0, "", 0, {"a,b"}},
      {"x,|a,b", ",", "|", "", 0, 0, 0, "", 0, {"x", "|a,b"}},   // never closed
      {"a,b|", ",", "|", "", 0, 0, 0, "", 0, {"a", "b|"}},       // a quote on the last byte opens nothing
      {"x,<<a,b>>,y", ",", "<<", ">>", 1, 0, 0, "", 0, {"x", "a,b", "y"}},
      {"|,|", ",", "|", "", 1, 0, 0, "", 0, {","}},
      {"||,a", ",", "|", "", 1, 0, 0, "", 0, {" ", "a"}},         // quotes of an empty item
      // nesting
      {"a,(b,(c,d)),e", ",", "(", ")", 0, 0, 0, "", 1, {"a", "(b,(c,d))", "e"}},
      {"a,(b,(c,d)),e", ",", "(", ")", 1, 0, 0, "", 1, {"a", "b,(c,d)", "e"}},
      {"a,(b,(c,d)),e", ",", "(", ")", 0, 0, 0, "", 0, {"a", "(b,(c,d))", "e"}},
      {"a,(b,(c,d),e),f", ",", "(", ")", 0, 0, 0, "", 0, {"a", "(b,(c,d)", "e)", "f"}},
      // alternative quote pairs
      {"a,(b,c),[d,e],f", ",", "(|[", ")|]", 0, 0, 0, "|", 0, {"a", "(b,c)", "[d,e]", "f"}},
      {"a,(b,c),[d,e],f", ",", "(|[", ")|]", 1, 0, 0, "|", 0, {"a", "b,c", "d,e", "f"}},
      {"'a,b',\"c,d\"", ",", "'|\"", "", 1, 0, 0, "|", 0, {"a,b", "c,d"}},
      {"(a,(b,c)),d", ",", "(|[", ")|]", 0, 0, 0, "|", 1, {"(a,(b,c))", "d"}},
      // clip and left
      {"  a  ,b", ",", "", "", 0, 1, 1, "", 0, {"a", "b"}},
      {"  a  ,b", ",", "", "", 0, 0, 1, "", 0, {"a    ", "b"}},
      {"  a  ,b", ",", "", "", 0, 1, 0, "", 0, {"  a", "b"}},
      {"a,   ", ",", "", "", 0, 1, 0, "", 0, {"a", ""}},
      {"a, | b | ", ",", "|", "", 1, 1, 1, "", 0, {"a", "| b |"}},
  };
  for (const auto& c : cases) {
    Textrope t;
    t.SetValue(c.value);
    t.AddLine(1, "stale");
    t.Split(c.boundary, c.quoteStart, c.quoteEnd, c.removeQuotes, c.clip, c.left, c.separator, c.nested);
    EXPECT_EQ(LinesOf(t), c.expected) << "'" << c.value << "' at '" << c.boundary << "' quotes '" << c.quoteStart
                                      << "' '" << c.quoteEnd << "' remove " << c.removeQuotes << " nested "
                                      << c.nested;
    EXPECT_EQ(t.value, c.value);
  }
}

TEST(TextropeSplit, EveryNBytes) {
  Textrope t;
  t.SetValue("abcdefgh");
  t.SplitEvery(3);
  EXPECT_EQ(LinesOf(t), (Lines{"abc", "def", "gh"}));
  t.SetValue("abcdef");
  t.SplitEvery(3);
  EXPECT_EQ(LinesOf(t), (Lines{"abc", "def"}));
  t.SplitEvery(0);
  EXPECT_EQ(t.Records(), 0);
}

TEST(TextropeJoin, QuotesLinesHoldingTheBoundary) {
  struct Case {
    Lines lines;
    const char *boundary, *quoteStart, *quoteEnd, *expected;
  } cases[] = {
      {{"a", "b,c"}, ",", "|", "", "a,|b,c|"},
      {{"a", "|b,c"}, ",", "|", "", "a,|b,c|"},
      {{"a", "b,c|"}, ",", "|", "", "a,|b,c|"},
      {{"a", "|b,c|"}, ",", "|", "", "a,|b,c|"},
      {{"a", "b,c"}, ",", "(", ")", "a,(b,c)"},
      {{"a", "b,c"}, ",", "", "", "a,b,c"},
      {{"a", " ", "b"}, "--", "", "", "a-- --b"},
      {{}, ",", "", "", ""},
  };
  for (const auto& c : cases) {
    Textrope t;
    t.SetValue("old");
    SetLines(t, c.lines);
    t.Join(c.boundary, c.quoteStart, c.quoteEnd);
    EXPECT_EQ(t.value, c.expected);
  }
}

TEST(TextropeJoin, SplitThenJoinGivesTheValueBack) {
  for (const char* text : {"a,|b,c|,d", "x", "a,|,|"}) {
    Textrope t;
    t.SetValue(text);
    t.Split(",", "|", "", 1);
    t.Join(",", "|");
    EXPECT_EQ(t.value, text);
  }
}

TEST(TextropeSort, ByTypeStableAndPadded) {
  struct Case {
    LONG type;
    Lines lines, expected;
  } cases[] = {
      {1, {"b", "A", "a", "B"}, {"A", "a", "b", "B"}},
      {2, {"b", "A", "a", "B"}, {"A", "B", "a", "b"}},
      {4, {"ccc", "a  ", "bb", "d"}, {"a  ", "d", "bb", "ccc"}},
      {2, {"ab\x01", "ab", "ab "}, {"ab\x01", "ab", "ab "}},  // "ab" reads as "ab " and stays before it
      {2, {"\xe9", "z"}, {"z", "\xe9"}},                   // bytes compare unsigned
      {3, {"b", "a"}, {"b", "a"}},
  };
  for (const auto& c : cases) {
    Textrope t;
    SetLines(t, c.lines);
    t.Sort(c.type);
    EXPECT_EQ(LinesOf(t), c.expected) << "type " << c.type;
  }
}

TEST(TextropeSort, ItemsOfTheValue) {
  Textrope t;
  t.SetValue("pear,|b,a|,Apple");
  t.Sort(1, ",", "|", "", 0, 0);
  EXPECT_EQ(t.value, "Apple,|b,a|,pear");
  EXPECT_EQ(t.Records(), 0);
  t.SetValue(" c; a ;b");
  t.Sort(2, ";", "", "", 1, 1);
  EXPECT_EQ(t.value, "a;b;c");
}

TEST(TextropeLines, GetSetAddDeleteAndCount) {
  Textrope t;
  SetLines(t, {"a", "b", "c"});
  EXPECT_EQ(t.DeleteLine(99), 1);
  EXPECT_EQ(t.DeleteLine(0), 1);
  EXPECT_EQ(t.Records(), 3);
  EXPECT_EQ(t.DeleteLine(2), 0);
  EXPECT_EQ(LinesOf(t), (Lines{"a", "c"}));
  t.SetLine(5, "x");
  EXPECT_EQ(LinesOf(t), (Lines{"a", "c", "x"}));
  t.SetLine(2, "C ");
  t.AddLine(1, "first");
  t.AddLine(3, "mid");
  EXPECT_EQ(LinesOf(t), (Lines{"first", "a", "mid", "C ", "x"}));
  EXPECT_EQ(t.GetLine(6), "");
  EXPECT_EQ(t.GetLine(-1), "");
}

TEST(TextropeLines, RemoveLinesAndFilter) {
  Textrope t;
  SetLines(t, {"a", "", "  ", "---", "- -", "-a", "b"});
  EXPECT_EQ(t.RemoveLines("-"), 4);
  EXPECT_EQ(LinesOf(t), (Lines{"a", "-a", "b"}));
  SetLines(t, {"a", "", "---"});
  EXPECT_EQ(t.RemoveLines(), 1);
  EXPECT_EQ(LinesOf(t), (Lines{"a", "---"}));

  SetLines(t, {"Cab one", "cab TWO", "other", "cab three"});
  t.Filter("CAB  ", "two");
  EXPECT_EQ(LinesOf(t), (Lines{"Cab one", "cab three"}));
  t.Filter("", "ONE");
  EXPECT_EQ(LinesOf(t), (Lines{"cab three"}));
  t.Filter(" ", " ");
  EXPECT_EQ(t.Records(), 1);
}

TEST(TextropeLines, InLineSearchesAWindowOfLines) {
  Textrope t;
  SetLines(t, {"alpha", "Beta", "beta gamma", "beta"});
  struct Case {
    const char* search;
    LONG step, start, end, noCase, whole, expected;
  } cases[] = {
      {"beta", 1, 1, 0, 0, 0, 3},   {"beta", 1, 1, 0, 1, 0, 2},    {"beta", 1, 1, 0, 0, 1, 4},
      {"beta  ", 1, 1, 0, 0, 1, 4}, {"beta", 2, 1, 0, 1, 0, 3},    {"beta", 1, 1, 2, 0, 0, 0},
      {"beta", 1, 4, 2, 0, 0, 4},   {"beta", 0, 1, 0, 0, 0, 3},    {"zeta", 1, 1, 0, 0, 0, 0},
      {"", 1, 1, 0, 0, 0, 0},       {"alpha", 1, -3, 0, 0, 1, 1},  {"beta", 1, 9, 0, 0, 0, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(t.InLine(c.search, c.step, c.start, c.end, c.noCase, c.whole), c.expected)
        << "'" << c.search << "' step " << c.step << " lines " << c.start << ".." << c.end;
  }
}

}  // namespace
