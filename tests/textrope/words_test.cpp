#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "tests/textrope/support.h"
#include "textrope/textrope.h"

namespace {

TEST(TextropeClasses, IsAllAndContainsAOmittedVersusEmpty) {
  struct Case {
    const char *value, *alphabet;
    std::optional<std::string_view> test;
    LONG isAll, containsA;
  } cases[] = {
      {"", "abc", std::nullopt, 0, 0},
      {"", "abc", "", 1, 0},
      {"cab", "abc", std::nullopt, 1, 1},
      {"cab ", "abc  ", std::nullopt, 0, 1},  // the alphabet is clipped, the value is not
      {"x", "0123456789", "12 ", 0, 1},        // the test text's blank is tested
      {"x", "0 9", "9 0", 1, 1},
      {"xyz", "abc", std::nullopt, 0, 0},
      {"xyz", "   ", std::nullopt, 0, 0},
  };
  for (const auto& c : cases) {
    Textrope t;
    t.SetValue(c.value);
    EXPECT_EQ(t.IsAll(c.alphabet, c.test), c.isAll) << "'" << c.value << "' alphabet '" << c.alphabet << "'";
    EXPECT_EQ(t.ContainsA(c.alphabet, c.test), c.containsA) << "'" << c.value << "' alphabet '" << c.alphabet << "'";
  }
  Textrope t;
  t.SetValue("abc7");
  EXPECT_EQ(t.ContainsADigit(), 1);
  EXPECT_EQ(t.IsAllDigits(), 0);
  t.SetValue("abc");
  EXPECT_EQ(t.ContainsADigit(), 0);
  t.SetValue("0042");
  EXPECT_EQ(t.IsAllDigits(), 1);
}

TEST(TextropeClasses, StartsWithAndEndsWith) {
  struct Case {
    const char *value, *text;
    LONG exactCase, starts, ends;
  } cases[] = {
      {"  ABc", "ab", 0, 1, 0},
      {"  ABc", "ab", 1, 0, 0},
      {"abc  ", "BC  ", 0, 0, 1},
      {"abc  ", "bc", 1, 0, 1},
      {"abc", "", 1, 1, 1},
      {"abc", "   ", 0, 1, 1},
      {"ab", "abc", 0, 0, 0},
      {"", "a", 0, 0, 0},
      {"a b", "a b", 1, 1, 1},
  };
  for (const auto& c : cases) {
    Textrope t;
    t.SetValue(c.value);
    EXPECT_EQ(t.StartsWith(c.text, c.exactCase), c.starts) << "'" << c.value << "' starts with '" << c.text << "'";
    EXPECT_EQ(t.EndsWith(c.text, c.exactCase), c.ends) << "'" << c.value << "' ends with '" << c.text << "'";
  }
}

TEST(TextropeWords, ScannerForwardsAndBackwards) {
  Textrope t;
  t.SetValue("don't stop.");
  EXPECT_EQ(t.WordEnd(1, 0), 5);
  EXPECT_EQ(t.WordEnd(7, 0), 10);
  EXPECT_EQ(t.WordEnd(6, 0), 0);
  EXPECT_EQ(t.WordEnd(11, 0), 0);   // the last byte is a separator
  EXPECT_EQ(t.WordEnd(12, 0), 0);
  EXPECT_EQ(t.WordStart(6, 0, 1), 7);
  EXPECT_EQ(t.WordStart(11, 0, 1), 0);
  EXPECT_EQ(t.WordStart(11, 0, -1), 7);
  EXPECT_EQ(t.WordStart(5, 0, -1), 1);  // "don't" read backwards is still one word
  EXPECT_EQ(t.WordStart(3, 0, 0), 0);
  EXPECT_EQ(t.CountWords(1, 0), 2);
  EXPECT_EQ(t.CountWords(4, 0), 2);
  EXPECT_EQ(t.CountWords(0, 0), 0);

  LONG s = -1, e = -1;
  EXPECT_EQ(t.FindWord(-1, 0, 0, s, e), "stop");
  EXPECT_EQ(s, 7);
  EXPECT_EQ(e, 10);
  EXPECT_EQ(t.FindWord(-2, 0, 0, s, e), "don't");
  EXPECT_EQ(s, 1);
  EXPECT_EQ(e, 5);
  EXPECT_EQ(t.FindWord(1, 1, 0, s, e), "don't");
  EXPECT_EQ(t.FindWord(2, 1, 0, s, e), "stop");
  EXPECT_EQ(t.FindWord(3, 1, 0, s, e), "");
  EXPECT_EQ(s, 0);
  EXPECT_EQ(e, 0);
  EXPECT_EQ(t.FindWord(0, 1, 0, s, e), "");
  EXPECT_EQ(t.Word(1, 99), "");
  EXPECT_EQ(t.GetWord(-1, 99), "stop");

  t.SetValue("it' s");  // an apostrophe not followed by a letter ends the word
  EXPECT_EQ(t.WordEnd(1, 0), 2);
  EXPECT_EQ(t.WordEnd(1, 2), 2);
  t.SetValue("rock'n'roll");
  EXPECT_EQ(t.WordEnd(1, 0), 11);
  EXPECT_EQ(t.WordStart(11, 0, -1), 1);
}

TEST(TextropeWords, TextTypesAndEntities) {
  Textrope t;
  t.SetValue("a &amp; b");
  EXPECT_EQ(t.WordStart(2, 1, 1), 9);
  EXPECT_EQ(t.WordStart(2, 0, 1), 4);
  EXPECT_EQ(t.CountWords(1, 1), 2);
  EXPECT_EQ(t.CountWords(1, 0), 3);
  t.SetValue("x & y");  // an ampersand without a semicolon is skipped alone
  EXPECT_EQ(t.WordStart(2, 1, 1), 5);
  t.SetValue("a-b c");
  EXPECT_EQ(t.CountWords(1, 0), 3);
  EXPECT_EQ(t.CountWords(1, 2), 2);
  EXPECT_EQ(t.WordEnd(1, 2), 3);
  EXPECT_EQ(t.WordEnd(1, 7), 1);  // unknown types read as plain text
}

TEST(TextropeWords, Squeeze) {
  struct Case {
    const char* value;
    LONG type;
    const char* expected;
  } cases[] = {
      {"  Hello,   world!  ", 0, "Hello world"},
      {"one", 0, "one"},
      {" ,. ", 0, ""},
      {"", 0, ""},
      {"a &amp; b", 1, "a b"},
      {"a-b  c", 2, "a-b c"},
      {"don't  stop.", 0, "don't stop"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Edited(c.value, [&](Textrope& t) { t.Squeeze(c.type); }), c.expected) << c.value << " type " << c.type;
  }
}

}  // namespace
