#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>
#include <vector>

#include "platform/win/system/code_page.h"
#include "textrope/byte_text.h"
#include "tests/textrope/support.h"
#include "textrope/textrope.h"

namespace {

using namespace std::string_literals;
using Lines = std::vector<std::string>;

TEST(TextropeCharset, ToUnicodeAndBackKeepTheMarkers) {
  struct Case {
    std::string ansi;
    LONG encoding;
    std::string converted;
    LONG wideChars;
  } cases[] = {
      {"\xe9", 1, "\xc3\xa9", 2},
      {"abc", 2, "a\0b\0c\0"s, 3},
      {"\x80 x  ", 1, "\xe2\x82\xac x", 5},  // trailing blanks are not converted
      {"a\0b"s, 1, "a\0b"s, 3},
  };
  for (const Case& c : cases) {
    Textrope t;
    t.SetValue(c.ansi);
    ASSERT_EQ(t.ToUnicode(c.encoding, 1252), 1) << c.ansi;
    EXPECT_TRUE(t.value == c.converted) << c.ansi;
    EXPECT_EQ(t.encoding, c.encoding);
    EXPECT_EQ(t.wideChars, c.wideChars);
    ASSERT_EQ(t.ToAnsi(0, 1252), 1);
    EXPECT_TRUE(t.value == std::string(c.ansi.substr(0, c.ansi.find_last_not_of(' ') + 1))) << c.ansi;
    EXPECT_EQ(t.encoding, 0);
    EXPECT_EQ(t.wideChars, c.wideChars);  // ToAnsi leaves it
  }
}

TEST(TextropeCharset, RefusalsTraceAndLeaveTheValue) {
  struct Case {
    const char* what;
    std::string value;
    LONG startEncoding, encoding;
    Lines trace;
  } cases[] = {
      {"empty", "", 0, 1,
       {"[tx] AnsiToUtf8. Failed to convert to UTF-16", "[tx] ToUnicode: encoded string is null, return false"}},
      {"blanks", "   ", 0, 1,
       {"[tx] AnsiToUtf8. Failed to convert to UTF-16", "[tx] ToUnicode: encoded string is null, return false"}},
      {"blanks to UTF-16", "   ", 0, 2, {"[tx] ToUnicode: encoded string is null, return false"}},
      {"bad encoding", "abc", 0, 3, {"[tx] ToUnicode: invalid encoding"}},
      {"not ANSI", "abc", 1, 1, {"[tx] String is not ANSI, can't convert it"}},
  };
  for (const Case& c : cases) {
    TraceCapture trace;
    Textrope t;
    t.SetValue(c.value);
    t.encoding = c.startEncoding;
    EXPECT_EQ(t.ToUnicode(c.encoding, 0), 0) << c.what;
    EXPECT_EQ(t.value, c.value) << c.what;
    EXPECT_EQ(t.encoding, c.startEncoding) << c.what;
    EXPECT_EQ(t.wideChars, 0) << c.what;
    EXPECT_EQ(trace.lines, c.trace) << c.what;
  }
  TraceCapture quiet;
  Textrope t;
  t.SetValue("   ");
  t.ToUnicode(1, 0);
  EXPECT_EQ(t.lastError, "There is no data to convert, the string length is zero");

  t.SetValue("abc");
  EXPECT_EQ(t.ToAnsi(0, 0), 0);  // already ANSI
  EXPECT_EQ(t.value, "abc");
}

TEST(TextropeCharset, UnmappableAndBrokenInput) {
  struct Case {
    const char* what;
    std::string utf8;
    ULONG page;
    std::string ansi;
  } cases[] = {
      {"unmappable in 1252", "a\xc4\x81 \xf0\x9f\x98\x80", 1252, "a? ?"},
      {"unmappable in ASCII", "caf\xc3\xa9", 20127, "caf?"},
      {"broken UTF-8", "a\xff\xc3", 1252, "a??"},
      {"trailing blanks kept", "x  ", 0, "x  "},
      {"euro", "\xe2\x82\xac", 0, "\x80"},
  };
  for (const Case& c : cases) {
    Textrope t;
    LONG length = -1;
    auto ansi = t.Utf8ToAnsi(c.utf8, length, c.page);
    ASSERT_TRUE(ansi.has_value()) << c.what;
    EXPECT_EQ(*ansi, c.ansi) << c.what;
    EXPECT_EQ(length, static_cast<LONG>(c.ansi.size())) << c.what;
  }
  Textrope t;
  LONG units = 0;
  EXPECT_EQ(t.Utf8To16("\xe2\x82", units), "\xfd\xff"s);  // one U+FFFD
  EXPECT_EQ(units, 1);
  LONG length = 0;
  EXPECT_EQ(t.ApiAnsiToUtf8("a\xe9", length), "a\xef\xbf\xbd");  // not ASCII: U+FFFD
  EXPECT_EQ(t.ApiUtf8ToAnsi("\xc3\xa9t\xc3\xa9", length), "?t?");
}

TEST(TextropeCharset, Utf16CountsNeverReachPastTheString) {
  Textrope t;
  const std::string abc = "a\0b\0c\0"s;
  LONG length = -1;
  struct Case {
    LONG units;
    std::optional<std::string> ansi;
  } cases[] = {{1, "a"}, {3, "abc"}, {4, "abc"}, {1000000, "abc"}, {0, std::nullopt}, {-1, std::nullopt}};
  for (const Case& c : cases) {
    EXPECT_EQ(t.Utf16ToAnsi(abc, c.units, length, 1252), c.ansi) << c.units;
  }
  EXPECT_EQ(length, 0);
  EXPECT_EQ(t.lastError,
            "Cannot convert he string to ANSI, the length is zero, or an error occured calculating the length");

  // 0 units: every whole unit of the string; the odd last byte is left.
  EXPECT_EQ(t.Utf16To8("a\0b\0c"s, 0, length), "ab");
  EXPECT_EQ(length, 2);
  EXPECT_EQ(t.Utf16To8(abc, 99, length), "abc");
  EXPECT_EQ(t.Utf16To8("", 0, length), std::nullopt);
  EXPECT_EQ(length, 0);

  // UTF-16 that starts at an odd address reads the same.
  const std::string shifted = "x"s + abc;
  EXPECT_EQ(t.Utf16To8(std::string_view(shifted).substr(1), 3, length), "abc");
  LONG units = 0;
  EXPECT_EQ(t.AnsiToUtf16("abc  ", units, 0), abc);
  EXPECT_EQ(units, 3);
}

TEST(TextropeCharset, ConversionsGoThroughTheObject) {
  struct Upper : Textrope {
    std::optional<std::string> Utf16To8(std::string_view, LONG, LONG& utf8Len) override {
      utf8Len = 2;
      return "UP";
    }
  } t;
  t.SetValue("abc");
  ASSERT_EQ(t.ToUnicode(1, 0), 1);
  EXPECT_EQ(t.value, "UP");
}

// The conversions as they were built before single-byte pages went straight to UTF-8:
// through UTF-16 with the code-page calls, sized and then filled each way. The ANSI side is
// taken without trailing blanks. The reference that the direct conversions must equal.
std::optional<std::string> ThroughUtf16(UINT from, std::string_view text, UINT to) {
  const int n = static_cast<int>(text.size());
  const int units = MultiByteToWideChar(from, 0, text.data(), n, nullptr, 0);
  if (units == 0) return std::nullopt;
  std::u16string utf16(static_cast<std::size_t>(units), u'\0');
  if (MultiByteToWideChar(from, 0, text.data(), n, utf16.data(), units) != units) return std::nullopt;
  const int bytes = WideCharToMultiByte(to, 0, utf16.data(), units, nullptr, 0, nullptr, nullptr);
  if (bytes == 0) return std::nullopt;
  std::string out(static_cast<std::size_t>(bytes), '\0');
  if (WideCharToMultiByte(to, 0, utf16.data(), units, out.data(), bytes, nullptr, nullptr) != bytes) {
    return std::nullopt;
  }
  return out;
}

std::string RandomUtf8(std::mt19937& random, bool broken) {
  std::string text;
  const int length = static_cast<int>(random() % 60);
  for (int i = 0; i < length; ++i) {
    const unsigned kind = random() % 8;
    char32_t c = kind < 4 ? random() % 0x80 : kind < 6 ? 0x80 + random() % 0x780 : kind < 7 ? 0x800 + random() % 0xF800
                                                                                        : 0x10000 + random() % 0x100000;
    if (c >= 0xD800 && c <= 0xDFFF) c = 0xFFFD;
    if (c < 0x80) {
      text += static_cast<char>(c);
    } else if (c < 0x800) {
      text += {static_cast<char>(0xC0 | (c >> 6)), static_cast<char>(0x80 | (c & 0x3F))};
    } else if (c < 0x10000) {
      text += {static_cast<char>(0xE0 | (c >> 12)), static_cast<char>(0x80 | ((c >> 6) & 0x3F)),
               static_cast<char>(0x80 | (c & 0x3F))};
    } else {
      text += {static_cast<char>(0xF0 | (c >> 18)), static_cast<char>(0x80 | ((c >> 12) & 0x3F)),
               static_cast<char>(0x80 | ((c >> 6) & 0x3F)), static_cast<char>(0x80 | (c & 0x3F))};
    }
  }
  if (broken) {
    // Bytes dropped, changed and added anywhere: cut sequences, stray continuation bytes,
    // overlong forms, encoded surrogates, bytes that never occur.
    for (int k = static_cast<int>(random() % 4); k >= 0 && !text.empty(); --k) {
      const std::size_t at = random() % text.size();
      switch (random() % 3) {
        case 0: text.erase(at, 1); break;
        case 1: text[at] = static_cast<char>(random()); break;
        default: text.insert(at, 1, "\x80\xbf\xc0\xed\xf4\xf8\xff"[random() % 7]); break;
      }
    }
  }
  return text;
}

// Single-byte pages convert straight to and from UTF-8; every byte of every page, random
// ANSI text and random UTF-8, valid and broken, give what the way through UTF-16 gives.
TEST(TextropeCharset, DirectConversionsAgreeWithTheWayThroughUtf16) {
  const UINT pages[] = {0, 437, 850, 866, 874, 1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257, 1258, 20127, 932};
  std::mt19937 random(9);
  TraceCapture trace;  // blank texts are refused, with a trace line
  Textrope t;
  for (UINT page : pages) {
    std::vector<std::string> ansiTexts = {AllBytes(), "plain ascii text, long enough for words  "};
    for (int b = 0; b < 256; ++b) ansiTexts.push_back(std::string(1, static_cast<char>(b)));
    for (int k = 0; k < 100; ++k) {
      std::string text(random() % 40, '\0');
      for (char& c : text) c = static_cast<char>(random() % 3 == 0 ? random() : 'a' + random() % 26);
      ansiTexts.push_back(text);
    }
    for (const std::string& text : ansiTexts) {
      LONG length = -1;
      const std::optional<std::string> expected = ThroughUtf16(page, textrope::Clipped(text), CP_UTF8);
      const std::optional<std::string> got = t.AnsiToUtf8(text, length, page);
      ASSERT_EQ(got, expected) << page << " '" << text << "'";
      EXPECT_EQ(length, expected ? static_cast<LONG>(expected->size()) : 0);
    }
    for (int k = 0; k < 300; ++k) {
      const std::string text = RandomUtf8(random, k % 2 == 1);
      LONG length = -1;
      const std::optional<std::string> expected = ThroughUtf16(CP_UTF8, text, page);
      const std::optional<std::string> got = t.Utf8ToAnsi(text, length, page);
      ASSERT_EQ(got, expected) << page << " '" << text << "'";
      EXPECT_EQ(length, expected ? static_cast<LONG>(expected->size()) : 0);
    }
  }
}

}  // namespace
