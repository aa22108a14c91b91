#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "platform/win/system/code_page.h"
#include "platform/win/system/last_error.h"

namespace {

using namespace std::string_literals;

std::u16string Decode(UINT codePage, const std::string& bytes) {
  int needed = MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::u16string units(static_cast<std::size_t>(needed), u'\0');
  int written = MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), units.data(), needed);
  EXPECT_EQ(written, needed);
  return units;
}

std::string Encode(UINT codePage, const std::u16string& units, const char* defaultChar = nullptr,
                   BOOL* used = nullptr) {
  int needed = WideCharToMultiByte(codePage, 0, units.data(), static_cast<int>(units.size()), nullptr, 0,
                                   defaultChar, used);
  std::string bytes(static_cast<std::size_t>(needed), '\0');
  int written = WideCharToMultiByte(codePage, 0, units.data(), static_cast<int>(units.size()), bytes.data(), needed,
                                    defaultChar, used);
  EXPECT_EQ(written, needed);
  return bytes;
}

TEST(CodePages, DecodingReplacesWhatDoesNotDecode) {
  struct Case {
    UINT page;
    std::string bytes;
    std::u16string units;
  } cases[] = {
      {65001, "\xc3\xa9", u"\u00e9"},
      {65001, "a\0b"s, u"a\0b"s},
      {65001, "\xf0\x9f\x98\x80", u"\U0001F600"},
      {65001, "\xc3", u"\ufffd"},
      {65001, "\xe2\x82" "A", u"\ufffdA"},          // cut short: one replacement
      {65001, "\xed\xa0\x80", u"\ufffd\ufffd\ufffd"},  // an encoded surrogate
      {65001, "\xc0\xaf", u"\ufffd\ufffd"},          // overlong
      {65001, "\xf4\x90\x80\x80", u"\ufffd\ufffd\ufffd\ufffd"},
      {65001, "\xff" "abcdefghij\xc3\xa9", u"\ufffdabcdefghij\u00e9"},
      {1252, "\xe9\x80", u"\u00e9\u20ac"},
      {1252, "\x81\x8d\x8f\x90\x9d", u"\u0081\u008d\u008f\u0090\u009d"},  // the page's holes
      {0, "\xe9", u"\u00e9"},
      {20127, "A\xe9", u"A\ufffd"},
      {932, "\x82\xa0" "a", u"\u3042a"},
      {932, "a\x82", u"a\ufffd"},  // a lead byte at the end
      // Pages that compose hold a letter back for a combining mark; a bad byte after it
      // must not take it away.
      {1258, "\x41\x81", u"A\u0081"},
      {1258, "\x41\xec", u"\u00c1"},
      {1255, "\xf9\xfa\xfb", u"\u05e9\u05ea\ufffd"},
      {1255, "\xe0\xca" "b", u"\u05d0\ufffd" "b"},
      {1253, "\xaa\x81", u"\ufffd\u0081"},
  };
  for (const Case& c : cases) EXPECT_EQ(Decode(c.page, c.bytes), c.units) << c.page << " " << c.bytes;
}

TEST(CodePages, EncodingPutsTheDefaultCharacterForWhatDoesNotFit) {
  struct Case {
    UINT page;
    std::u16string units;
    std::string bytes;
  } cases[] = {
      {65001, u"\u00e9", "\xc3\xa9"},
      {65001, u"\U0001F600", "\xf0\x9f\x98\x80"},
      {65001, u"a\xd800" "b", "a\xef\xbf\xbd" "b"},
      {65001, u"\xdc00", "\xef\xbf\xbd"},
      {1252, u"\u00e9\u20ac\u0081", "\xe9\x80\x81"},
      {1252, u"\u0100\U0001F600\xd800", "???"},
      {0, u"\u00e9", "\xe9"},
      {20127, u"e\u00e9", "e?"},
      {932, u"\u3042\u00e9", "\x82\xa0?"},
      {932, u"a\U0001F600b", "a?b"},
  };
  for (const Case& c : cases) EXPECT_EQ(Encode(c.page, c.units), c.bytes) << c.page << " " << c.bytes;

  BOOL used = FALSE;
  EXPECT_EQ(Encode(1252, u"x\u0100", "*", &used), "x*");
  EXPECT_TRUE(used);
  EXPECT_EQ(Encode(932, u"x\u00e9", "*", &used), "x*");
  EXPECT_TRUE(used);
  EXPECT_EQ(Encode(1252, u"x", "*", &used), "x");
  EXPECT_FALSE(used);
}

// Every byte of the Windows ANSI pages comes back, but for the bytes a page leaves undefined
// above 9Fh, which decode to U+FFFD and come back as "?".
TEST(CodePages, AnsiBytesSurviveARoundTripButTheUndefinedAboveC1) {
  struct Case {
    UINT page;
    std::string undefined;
  } cases[] = {
      {1250, ""}, {1251, ""}, {1252, ""}, {1253, "\xaa\xd2\xff"}, {1254, ""},
      {1255, "\xca\xd9\xda\xdb\xdc\xdd\xde\xdf\xfb\xfc\xff"}, {1256, ""}, {1257, "\xa1\xa5"}, {1258, ""},
  };
  for (const Case& c : cases) {
    std::string all;
    std::string expected;
    for (int b = 1; b < 256; ++b) {
      all += static_cast<char>(b);
      expected += c.undefined.find(static_cast<char>(b)) == std::string::npos ? static_cast<char>(b) : '?';
    }
    // One byte at a time too: a composing page must not join neighbours.
    std::string oneByOne;
    for (char b : all) oneByOne += Encode(c.page, Decode(c.page, std::string(1, b)));
    EXPECT_EQ(oneByOne, expected) << c.page;
  }
}

// Long runs of ASCII go through in blocks; whatever sits where in a block converts alike.
TEST(CodePages, EveryPositionInALongTextConvertsAlike) {
  for (std::size_t at = 0; at < 40; ++at) {
    std::string ansi = std::string(at, 'a') + "\xe9" + std::string(20, 'b') + "\x80" + std::string(at % 7, 'c');
    std::u16string units = std::u16string(at, u'a') + u"\u00e9" + std::u16string(20, u'b') + u"\u20ac" +
                           std::u16string(at % 7, u'c');
    EXPECT_EQ(Decode(1252, ansi), units) << at;
    EXPECT_EQ(Encode(1252, units), ansi) << at;
    const std::string utf8 = Encode(65001, units);
    EXPECT_EQ(utf8.size(), ansi.size() + 3) << at;
    EXPECT_EQ(Decode(65001, utf8), units) << at;

    std::u16string unmappable = std::u16string(40, u'x');
    unmappable[at] = u'\u0100';
    std::string expected(40, 'x');
    expected[at] = '?';
    EXPECT_EQ(Encode(1252, unmappable), expected) << at;
    std::string broken = std::string(40, 'y');
    broken[at] = '\xff';
    std::u16string replaced(40, u'y');
    replaced[at] = u'\ufffd';
    EXPECT_EQ(Decode(65001, broken), replaced) << at;
  }
}

TEST(CodePages, SizeThenFillAndRefusals) {
  WCHAR units[4];
  char bytes[4];
  const char* text = "abcde";
  struct Refusal {
    const char* what;
    std::function<int()> call;
    DWORD error;
  } refusals[] = {
      {"empty source", [&] { return MultiByteToWideChar(65001, 0, text, 0, nullptr, 0); }, ERROR_INVALID_PARAMETER},
      {"too little room", [&] { return MultiByteToWideChar(65001, 0, text, 5, units, 4); }, ERROR_INSUFFICIENT_BUFFER},
      {"flags", [&] { return MultiByteToWideChar(65001, 8, text, 5, nullptr, 0); }, ERROR_INVALID_FLAGS},
      {"unknown page", [&] { return MultiByteToWideChar(12345, 0, text, 5, nullptr, 0); }, ERROR_INVALID_PARAMETER},
      {"negative count", [&] { return MultiByteToWideChar(1252, 0, text, -1, nullptr, 0); }, ERROR_INVALID_PARAMETER},
      {"room without a buffer", [&] { return MultiByteToWideChar(1252, 0, text, 5, nullptr, 5); },
       ERROR_INVALID_PARAMETER},
      {"no units", [&] { return WideCharToMultiByte(1252, 0, u"ab", 0, nullptr, 0, nullptr, nullptr); },
       ERROR_INVALID_PARAMETER},
      {"too few bytes",
       [&] { return WideCharToMultiByte(65001, 0, u"\u00e9\u00e9\u00e9", 3, bytes, 4, nullptr, nullptr); },
       ERROR_INSUFFICIENT_BUFFER},
      {"default char for UTF-8", [&] { return WideCharToMultiByte(65001, 0, u"ab", 2, nullptr, 0, "?", nullptr); },
       ERROR_INVALID_PARAMETER},
  };
  for (const Refusal& r : refusals) {
    SetLastError(0);
    EXPECT_EQ(r.call(), 0) << r.what;
    EXPECT_EQ(GetLastError(), r.error) << r.what;
  }

  // A size of 0 with a buffer still only asks.
  EXPECT_EQ(MultiByteToWideChar(65001, 0, text, 3, units, 0), 3);
  EXPECT_EQ(WideCharToMultiByte(65001, 0, u"\u00e9", 1, bytes, 0, nullptr, nullptr), 2);
}

}  // namespace
