#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "tests/textrope/support.h"
#include "textrope/textrope.h"

namespace {

using namespace std::string_literals;
using std::nullopt;

TEST(TextropeUrl, EncodeByFlagsDelimiterAndSpace) {
  struct Case {
    std::string value;
    LONG flags;
    const char *delimiter, *space;
    std::string expected;
  } cases[] = {
      {"a b/c.d", 0, "", "", "a+b%2Fc%2Ed"},
      {"a b/c.d", 0x20, "", "", "a+b/c.d"},
      {"a b/c.d", 0x10, "", "", "a%20b%2Fc%2Ed"},
      {"a b/c.d", 1, "", "", "a b%2Fc%2Ed"},
      {"a b/c.d", 2 | 0x10, "", "", "a b%2Fc%2Ed"},  // kept blanks win over escaped ones
      {"%+", 0, "", "", "%25%2B"},
      {"a-b", 0, "", "-", "a%2Db"},
      {"a b", 0, "=", "_", "a_b"},
      {"x_y", 0x10, "=", "_", "x=5Fy"},
      {"ab  ", 1, "", "", "ab"},                  // a blank kept at the end is dropped
      {"-_!~*'()\\$", 0x20, "", "", "-_!~*'()\\$"},
      {"\xff\n"s + '\0', 0, "", "", "%FF%0A%00"},
      {"", 0, "", "", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Edited(c.value, [&](Textrope& t) { t.UrlEncode(c.flags, c.delimiter, c.space); }), c.expected)
        << "'" << c.value << "' flags " << c.flags;
  }
}

TEST(TextropeUrl, Decode) {
  struct Case {
    std::string value;
    const char *delimiter, *space;
    std::string expected;
  } cases[] = {
      {"a+b%2Fc", "", "", "a b/c"},
      {"%2B", "", "", "+"},
      {"a%41b", "", "", "aAb"},
      {"%2f", "", "", " "},          // lower-case digits are not read
      {"%2525", "", "", "%25"},      // a decoded delimiter is not decoded again
      {"%00x", "", "", "\0x"s},
      {"100%", "", "", "100%"},      // an escape cut short at the end stays as it is
      {"a%4", "", "", "a%4"},
      {"%", "", "", "%"},
      {"a=20b_c", "=", "_", "a b c"},
      {"%7Euser%2Fdoc%E2%82%AC", "", "", "~user/doc\xE2\x82\xAC"},  // standard percent-encoding
      {"", "", "", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Edited(c.value, [&](Textrope& t) { t.UrlDecode(c.delimiter, c.space); }), c.expected) << c.value;
  }
}

TEST(TextropeUrl, EncodeThenDecodeGivesEveryByteBack) {
  const std::string bytes = AllBytes() + "tail";  // a blank inside survives the trailing-blank clip
  for (LONG flags : {0, 0x10, 0x20, 0x30}) {
    Textrope t;
    t.SetValue(bytes);
    t.UrlEncode(flags);
    t.UrlDecode();
    EXPECT_EQ(t.value, bytes) << "flags " << flags;
  }
}

TEST(TextropeColour, ToAndFromHex) {
  struct Case {
    LONG colour, hash;
    const char* text;
  } cases[] = {
      {255, 1, "#ff0000"}, {0x00FF00, 0, "00ff00"}, {0x123456, 1, "#563412"}, {0, 0, "000000"},
      {0xFFFFFF, 1, "#ffffff"}, {-1, 0, ""}, {0x1000000, 1, ""},
  };
  for (const auto& c : cases) {
    Textrope t;
    EXPECT_EQ(t.ColorToHex(c.colour, c.hash), c.text) << c.colour;
    if (*c.text != '\0') {
      EXPECT_EQ(t.ColorFromHex(c.text), c.colour) << c.text;
    }
  }
  Textrope t;
  EXPECT_EQ(t.ColorFromHex("#FF0000"), 255);
  EXPECT_EQ(t.ColorFromHex("ff0000  "), 255);
  EXPECT_EQ(t.ColorFromHex("#fff"), -1);
  EXPECT_EQ(t.ColorFromHex("#fffff"), -1);
  EXPECT_EQ(t.ColorFromHex("fffff "), -1);
}

TEST(TextropeQuoting, QuoteAndUnquoteOmittedVersusEmpty) {
  struct Case {
    const char* value;
    bool quote;
    std::optional<std::string_view> start, end;
    const char* expected;
  } cases[] = {
      {"abc", true, nullopt, nullopt, "\"abc\""},
      {"\"abc\"", true, nullopt, nullopt, "\"abc\""},
      {"\"", true, nullopt, nullopt, "\"\"\""},
      {"", true, nullopt, nullopt, "\"\""},
      {"abc", true, "[", "]", "[abc]"},
      {"abc", true, "'", nullopt, "'abc'"},
      {"abc", true, "", nullopt, " abc "},     // a given but empty quote is a blank
      {"'abc'", false, nullopt, nullopt, "abc"},
      {"\"abc\"", false, nullopt, nullopt, "abc"},
      {"\"abc'", false, nullopt, nullopt, "\"abc'"},
      {"\"\"", false, nullopt, nullopt, ""},
      {"\"", false, nullopt, nullopt, "\""},
      {"[a\"b]", false, "[", "]", "a\"b"},
      {" abc ", false, "", nullopt, "abc"},
      {"'abc'", false, "\"", nullopt, "'abc'"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Edited(c.value, [&](Textrope& t) { c.quote ? t.Quote(c.start, c.end) : t.Unquote(c.start, c.end); }),
              c.expected)
        << (c.quote ? "Quote " : "Unquote ") << c.value;
  }
}

TEST(TextropeFileName, CleanOmittedVersusEmpty) {
  Textrope t;
  t.SetValue("a:b?c");
  EXPECT_EQ(t.CleanFileName(), "a_b_c");
  EXPECT_EQ(t.value, "a_b_c");

  t.SetValue("x|y  ");
  EXPECT_EQ(t.CleanFileName("", "-"), "x-y");  // empty name reads the value ...
  EXPECT_EQ(t.value, "x|y  ");                  // ... but does not write it back
  EXPECT_EQ(t.CleanFileName("x/y", "-"), "x-y");
  EXPECT_EQ(t.value, "x|y  ");
  EXPECT_EQ(t.CleanFileName("\\/*:?\"<>|", nullopt), "_________");
  EXPECT_EQ(t.CleanFileName("a:b", ""), "a_b");
  EXPECT_EQ(t.CleanFileName(std::string(300, 'n')).size(), 256u);
}

TEST(TextropeXml, MergeAfterFirstOrBeforeLastTag) {
  struct Case {
    const char *value, *fragment;
    LONG where;
    std::string expected;
  } cases[] = {
      {"<a></a>", "<b/>  ", 1, "<a><b/></a>"},
      {"<a></a>", "<b/>", -1, "<a><b/></a>"},
      {"text", "<b/>", 1, "text<b/>"},
      {"text", "<b/>", -1, "text<b/>"},
      {"<a>", "<b/>", -1, "<a><b/>"},   // the last "<" is the first byte
      {"<a></a>", "<b/>", 0, "<a></a>"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Edited(c.value, [&](Textrope& t) { t.MergeXml(c.fragment, c.where); }), c.expected);
  }
}

TEST(TextropeLineEndings, RewritesMixedEndings) {
  const std::string mixed = "a\rb\nc\r\nd";
  struct Case {
    LONG endings;
    std::string expected;
  } cases[] = {
      {1, "a\r\nb\r\nc\r\nd"}, {2, "a\rb\rc\rd"}, {3, "a\nb\nc\nd"}, {4, mixed},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Edited(mixed, [&](Textrope& t) { t.LineEndings(c.endings); }), c.expected) << "endings " << c.endings;
  }
}

TEST(TextropePeekRam, TracesBytesAndRecordsABadAddress) {
  TraceCapture capture;
  Textrope t;
  const char bytes[] = "AB";
  const auto address = reinterpret_cast<std::uintptr_t>(bytes);
  t.PeekRam(address, 2);
  ASSERT_EQ(capture.lines.size(), 2u);
  EXPECT_EQ(capture.lines[0], "[tx] PeekRam at " + std::to_string(address));
  EXPECT_EQ(capture.lines[1], "RAM: 65[A] 66[B]");

  capture.lines.clear();
  t.PeekRam(8, 4);  // never mapped
  EXPECT_EQ(capture.lines.size(), 1u);
  EXPECT_NE(t.lastError, "");
}

}  // namespace
