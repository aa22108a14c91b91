#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>

#include "tests/textrope/reference_replace.h"
#include "tests/textrope/support.h"
#include "textrope/textrope.h"

namespace {

using namespace std::string_literals;

TEST(TextropeSearch, InstringWindowsCaseAndWholeWords) {
  struct Case {
    std::string value, search;
    LONG step, start, end, noCase, wholeWord, expected;
  } cases[] = {
      {"xxab", "ab", 1, 1, 0, 0, 0, 3},
      {"xxab", "AB", 1, 1, 3, 1, 0, 0},  // the match would end at 4
      {"xxab", "AB", 1, 1, 4, 1, 0, 3},
      {"xxab", "AB", 1, 1, 0, 0, 0, 0},
      {"xxab", "ab", 1, 1, 3, 0, 0, 0},
      {"xxab", "b", 1, 1, 3, 0, 0, 0},
      {"xxab", "b", 1, 4, 0, 0, 0, 4},
      {"xxab", "x", 1, 2, 0, 0, 0, 2},
      {"xxab", "x", 1, -5, -1, 0, 0, 1},
      {"xxab", "ab", 1, 99, 0, 0, 0, 0},
      {"xxab", "", 1, 1, 0, 0, 0, 0},
      {"concat cat", "cat", 1, 1, 0, 0, 1, 8},
      {"cat_x", "cat", 1, 1, 0, 0, 1, 1},
      {"cats", "cat", 1, 1, 0, 0, 1, 0},
      {"xCAT cat", "Cat", 1, 1, 0, 1, 1, 6},
      {"a b ", "b ", 1, 1, 0, 0, 0, 3},  // trailing blanks of the search count
      {"a b", "b ", 1, 1, 0, 0, 0, 0},
      {"abcabcabc", "abc", 3, 1, 0, 0, 0, 1},
      {"xxxabcabc", "abc", 3, 1, 0, 0, 0, 2},  // step number, not byte position
      {"xabcabcab", "abc", 3, 1, 0, 0, 0, 0},  // only every third position is tested
      {"a\0b\0b"s, "\0b"s, 1, 3, 0, 0, 0, 4},
      {"a\0b\0b"s, "\0B"s, 1, 1, 0, 1, 0, 2},
  };
  for (const auto& c : cases) {
    Textrope t;
    t.SetValue(c.value);
    EXPECT_EQ(t.Instring(c.search, c.step, c.start, c.end, c.noCase, c.wholeWord), c.expected)
        << "'" << c.search << "' in '" << c.value << "' step " << c.step << " window " << c.start << ".." << c.end;
  }
}

TEST(TextropeSearch, FindCharsKeepsTheMatchInsideTheWindow) {
  Textrope t;
  t.SetValue("abcbc");
  EXPECT_EQ(t.FindChars("bc", 1, 0), 2);
  EXPECT_EQ(t.FindChars("bc", 3, 4), 0);
  EXPECT_EQ(t.FindChars("bc", 3, 5), 4);
  EXPECT_EQ(t.FindChar("cz", 4, 0), 5);
  EXPECT_EQ(t.FindChar("a", 2, 0), 0);
  EXPECT_EQ(t.FindChar("", 1, 0), 0);
}

TEST(TextropeSearch, CountWindowsOverlapAndSoftClip) {
  struct Case {
    std::string value, search;
    LONG start, end, noCase, softClip, overlap, expected;
  } cases[] = {
      {"aaaa", "aa", 1, 0, 0, 0, 1, 3},
      {"aaaa", "aa", 1, 0, 0, 0, 0, 2},
      {"aaaa", "aa", 2, 0, 0, 0, 1, 2},
      {"aaaa", "aa", 1, 3, 0, 0, 1, 2},
      {"aaaa", "aa", 1, 3, 0, 1, 1, 3},  // soft clip: starting inside is enough
      {"aAaA", "aa", 1, 0, 1, 0, 0, 2},
      {"aAaA", "aa", 1, 0, 0, 0, 0, 0},
      {"abc", "", 1, 0, 0, 0, 0, 0},
      {"a\0b\0b"s, "\0"s, 1, 0, 0, 0, 0, 2},
  };
  for (const auto& c : cases) {
    Textrope t;
    t.SetValue(c.value);
    EXPECT_EQ(t.Count(c.search, 1, c.start, c.end, c.noCase, c.softClip, c.overlap), c.expected)
        << "'" << c.search << "' in '" << c.value << "' window " << c.start << ".." << c.end;
  }
}

TEST(TextropeReplace, GrowShrinkCountWindowAndRecursion) {
  struct Case {
    std::string value, oldText, newText;
    LONG count, start, end, noCase, recursive;
    std::string expected;
    LONG replaced;
  } cases[] = {
      {"aXa", "a", "bb", 0, 1, 0, 0, 0, "bbXbb", 2},
      {"aaa", "a", "b", 1, 2, 0, 0, 0, "aba", 1},
      {"aaaa", "aa", "a", 0, 1, 0, 0, 1, "a", 3},
      {"aaaa", "aa", "a", 0, 1, 0, 0, 0, "aa", 2},
      {"aaaa", "aa", "a", 2, 1, 0, 0, 1, "aa", 2},
      {"abb", "ab", "ba", 0, 1, 0, 0, 0, "bab", 1},  // written bytes are not matched again
      {"xyxyxy", "xy", "Q", 0, 3, 4, 0, 0, "xyQxy", 1},
      {"xyxyxy", "xy", "Q", 0, 3, 5, 0, 0, "xyQxy", 1},
      {"xyxyxy", "xy", "Q", 0, 3, 6, 0, 0, "xyQQ", 2},
      {"xyxyxy", "xy", "LONG", 2, 1, 0, 0, 0, "LONGLONGxy", 2},
      {"AbAB", "ab", "c", 0, 1, 0, 1, 0, "cc", 2},
      {"AbAB", "ab", "cd", 0, 1, 0, 1, 0, "cdcd", 2},
      {"abc", "abcd", "x", 0, 1, 0, 0, 0, "abc", 0},
      {"abc", "b", "x", 0, 4, 0, 0, 0, "abc", 0},
      {"abc", "b", "x", -1, 1, 0, 0, 0, "abc", 0},
      {"abc", "b", "", 0, 1, 0, 0, 0, "ac", 1},
      {"bbb", "b", "", 0, 1, 0, 0, 0, "", 3},
      {"abc", "", "x", 0, 1, 0, 0, 0, "abc", 0},
      {"a\0b\0b"s, "\0"s, "--", 0, 1, 0, 0, 0, "a--b--b", 2},
      {"a--b--b", "-", "\0"s, 0, 1, 0, 0, 0, "a\0\0b\0\0b"s, 4},
  };
  for (const auto& c : cases) {
    Textrope t;
    t.SetValue(c.value);
    EXPECT_EQ(t.Replace(c.oldText, c.newText, c.count, c.start, c.end, c.noCase, c.recursive), c.replaced)
        << "'" << c.oldText << "' -> '" << c.newText << "' in '" << c.value << "'";
    EXPECT_EQ(t.value, c.expected) << "'" << c.oldText << "' -> '" << c.newText << "' in '" << c.value << "'";
  }
}

TEST(TextropeReplace, RecursionGuardRefusesAndReports) {
  const std::string message =
      "Invalid recursive replacement - the value being replaced is a substring of the new value. "
      "This will result in an infinite loop";
  struct Case {
    const char *value, *newText;
    LONG count, noCase;
    bool refused;
  } cases[] = {
      {"aaa", "ab", 0, 0, true}, {"aaa", "ab", 1, 0, true}, {"aaa", "ab", 5, 0, true}, {"xAx", "bA", 0, 1, true},
      {"xAx", "bA", 0, 0, false},  // exact case: "a" is not in "bA", but nothing matches
  };
  for (const auto& c : cases) {
    TraceCapture capture;
    Textrope t;
    t.SetValue(c.value);
    EXPECT_EQ(t.Replace("a", c.newText, c.count, 1, 0, c.noCase, 1), 0);
    EXPECT_EQ(t.value, c.value);
    EXPECT_EQ(t.lastError, c.refused ? message : "") << c.value << " " << c.noCase;
    EXPECT_EQ(capture.lines, c.refused ? std::vector<std::string>{"[tx] " + message} : std::vector<std::string>{});
  }
}

// A derived Count that promises more or fewer matches than there are must not corrupt the value.
// Replace against the way it was built before it became one pass (count the matches, then
// copy into an exactly sized block), on random values rich in matches, windows and limits.
TEST(TextropeReplace, OnePassAgreesWithCountThenCopy) {
  std::mt19937 random(5);
  auto pick = [&](int from, int to) { return std::uniform_int_distribution<int>(from, to)(random); };
  auto text = [&](int length) {
    static constexpr char kBytes[] = {'a', 'A', 'b', '\0', ' '};
    std::string t;
    for (int i = 0; i < length; ++i) t += kBytes[pick(0, 4)];
    return t;
  };
  for (int round = 0; round < 4000; ++round) {
    const std::string value = text(pick(0, round % 2 == 0 ? 12 : 200));
    const std::string oldText = text(pick(1, 3));
    std::string newText = text(pick(0, 4));
    if (newText.size() == oldText.size()) newText += 'b';
    const LONG length = static_cast<LONG>(value.size());
    const LONG count = pick(-1, 3), start = pick(-1, length + 1), end = pick(-1, length + 1);
    const LONG noCase = pick(0, 1), recursive = pick(0, 1);
    Textrope t;
    t.SetValue(value);
    std::string expected = value;
    const LONG replaced = t.Replace(oldText, newText, count, start, end, noCase, recursive);
    EXPECT_EQ(replaced, ReferenceReplace(expected, oldText, newText, count, start, end, noCase, recursive))
        << round;
    EXPECT_TRUE(t.value == expected) << round;
  }
}

// A shrinking replacement that has fallen a chunk or more behind the text it reads copies
// whole chunks; long values with gaps of every length up to past the chunked range, matches
// up to the very end, and replacement texts on both sides of the chunk size must still agree.
TEST(TextropeReplace, LongShrinkingReplacementsAgreeWithCountThenCopy) {
  std::mt19937 random(8);
  auto pick = [&](std::size_t from, std::size_t to) {
    return std::uniform_int_distribution<std::size_t>(from, to)(random);
  };
  for (int round = 0; round < 300; ++round) {
    const std::string oldText = "<" + std::string(pick(1, 19), static_cast<char>('a' + round % 3)) + ">";
    const std::string newText(pick(0, std::min<std::size_t>(oldText.size() - 1, 17)), '#');
    std::string value;
    const std::size_t widestGap = round % 2 == 0 ? 20 : 150;
    while (value.size() < 3000) {
      for (std::size_t gap = pick(0, widestGap); gap > 0; --gap) value += static_cast<char>(pick('\0', '~'));
      value += oldText;
    }
    if (round % 3 == 0) value += std::string(pick(0, 20), '.');
    Textrope t;
    t.SetValue(value);
    std::string expected = value;
    const LONG replaced = t.Replace(oldText, newText, 0, 1, 0, 0, 0);
    EXPECT_EQ(replaced, ReferenceReplace(expected, oldText, newText, 0, 1, 0, 0, 0)) << round;
    ASSERT_TRUE(t.value == expected) << round;
  }
}

// Texts that are views of the value itself are read as they were before the call.
TEST(TextropeReplace, TextsTakenFromTheValueItself) {
  for (const char* newText : {"", "xy", "xyxyxyxyxyxyxyxyxyxy"}) {
    Textrope t;
    t.SetValue(std::string(40, 'a') + "xyxyxyxyxyxyxyxyxyxy");
    std::string expected = t.value;
    const std::string_view view(t.value);
    const std::string_view newView = view.substr(40, std::strlen(newText));
    ReferenceReplace(expected, "a", std::string(newView), 0, 1, 0, 0, 0);
    EXPECT_EQ(t.Replace(view.substr(0, 1), newView, 0, 1, 0, 0, 0), 40);
    EXPECT_EQ(t.value, expected) << newText;
  }
}

TEST(TextropeSearch, BetweenBeforeAndAfter) {
  Textrope t;
  t.SetValue("x<abc>y");
  LONG s = 1, e = 0;
  EXPECT_EQ(t.FindBetween("<", ">", s, e, 0, 1), "abc");
  EXPECT_EQ(s, 3);
  EXPECT_EQ(e, 5);
  s = 1, e = 0;
  EXPECT_EQ(t.FindBetween("<", ">", s, e, 0, 0), "<abc>");
  EXPECT_EQ(s, 2);
  EXPECT_EQ(e, 6);
  s = -3, e = -3;
  EXPECT_EQ(t.FindBetween("", ">", s, e, 0, 0), "x<abc>");
  s = 1, e = 0;
  EXPECT_EQ(t.FindBetween("<", "", s, e, 0, 1), "abc>y");
  EXPECT_EQ(t.FindBetween("[", "]", s, e, 0, 1), "");
  s = 1, e = 0;
  EXPECT_EQ(t.FindBetween("<", "]", s, e, 0, 1), "");
  s = 7, e = 0;
  EXPECT_EQ(t.Between("<", ">", s, e, 0, 1), "");
  EXPECT_EQ(s, 7);

  t.SetValue("k=v");
  EXPECT_EQ(t.Before("="), "k");
  EXPECT_EQ(t.After("="), "v");
  EXPECT_EQ(t.After("v"), "");
  EXPECT_EQ(t.Before("k"), "");
  EXPECT_EQ(t.Before("K", 1, 0, 1), "");
  EXPECT_EQ(t.After("K", 1, 0, 1), "=v");
  t.SetValue("a\0\0b\0\0b"s);
  EXPECT_EQ(t.Before("b"), "a\0\0"s);
  EXPECT_EQ(t.After("b"), "\0\0b"s);
}

TEST(TextropeSearch, CaseChangesLeaveQuotedStretches) {
  struct Case {
    bool upper;
    const char *value, *quote, *quoteEnd, *expected;
  } cases[] = {
      {true, "ab|cd|ef", "|", "", "AB|cd|EF"},
      {true, "ab(cd)ef", "(", ")", "AB(cd)EF"},
      {true, "ab(cd(x)ef", "(", ")", "AB(cd(x)EF"},
      {true, "ab\xe9", "", "", "AB\xe9"},
      {false, "AB'CD'EF", "'", "", "ab'CD'ef"},
  };
  for (const auto& c : cases) {
    auto change = [&](Textrope& t) { c.upper ? t.Upper(c.quote, c.quoteEnd) : t.Lower(c.quote, c.quoteEnd); };
    EXPECT_EQ(Edited(c.value, change), c.expected);
  }
}

TEST(TextropeSearch, RandomDrawsFromTheChosenAlphabets) {
  struct Case {
    LONG flags;
    const char *alphabet, *allowed;
  } cases[] = {
      {4, "", "0123456789"},  {0x21, "", "ABCDEFGHIJKLMNOPQRSTUVWXYZ"}, {0, "", "ABCDEFGHIJKLMNOPQRSTUVWXYZ"},
      {0x20, "", "ABCDEF0123456789"}, {0x40, "xy  ", "GCATxy"}, {0, "q", "q"},
  };
  for (const auto& c : cases) {
    Textrope t;
    std::string drawn = t.Random(200, c.flags, c.alphabet);
    EXPECT_EQ(drawn.size(), 200u);
    EXPECT_EQ(t.value, drawn);
    EXPECT_EQ(drawn.find_first_not_of(c.allowed), std::string::npos) << c.flags << " " << drawn;
  }
  Textrope t;
  t.SetValue("keep");
  EXPECT_EQ(t.Random(0, 4), "");
  EXPECT_EQ(t.value, "keep");
  std::string lead = t.Random(50, 0x0C);
  EXPECT_TRUE(lead[0] >= 'A' && lead[0] <= 'Z');
  EXPECT_EQ(lead.find_first_not_of("0123456789", 1), std::string::npos);
}

// Instring and Replace reach their helpers through the object.
TEST(TextropeSearch, SearchHelpersAreReachedThroughTheObject) {
  struct Spy : Textrope {
    int findChars = 0;
    LONG FindChars(std::string_view s, LONG a, LONG b) override {
      ++findChars;
      return Textrope::FindChars(s, a, b);
    }
  } t;
  t.SetValue("one two one");
  EXPECT_EQ(t.Instring("one", 1, 2, 0, 0, 0), 9);
  EXPECT_EQ(t.findChars, 1);
}

}  // namespace
