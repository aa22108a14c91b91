#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "tests/textrope/support.h"
#include "textrope/textrope.h"

namespace {

using namespace std::string_literals;

const std::string kEncodeTruncated =
    "The passed string was not large enough to hold the Base64 encoded data. The data has been truncated.";
const std::string kDecodeTruncated =
    "The passed string was not large enough to hold the Base64 decoded data. The data has been truncated.";

// Test vectors of the Base64 standard, both ways.
TEST(TextropeBase64, StandardVectorsRoundTrip) {
  struct Case {
    const char *plain, *coded;
  } cases[] = {
      {"", ""},         {"f", "Zg=="},         {"fo", "Zm8="},         {"foo", "Zm9v"},
      {"foob", "Zm9vYg=="}, {"fooba", "Zm9vYmE="}, {"foobar", "Zm9vYmFy"}, {"abc", "YWJj"},
      {"ab", "YWI="},   {"a", "YQ=="},
  };
  for (const auto& c : cases) {
    Textrope t;
    t.SetValue(c.plain);
    t.Base64Encode();
    EXPECT_EQ(t.value, c.coded);
    EXPECT_EQ(t.base64, 1);
    t.Base64Decode();
    EXPECT_EQ(t.value, c.plain);
    EXPECT_EQ(t.base64, 0);
  }
}

TEST(TextropeBase64, EveryByteValueRoundTripsWithAndWithoutBreaks) {
  for (LONG noWrap : {0, 1}) {
    Textrope t;
    t.base64NoWrap = noWrap;
    t.SetValue(AllBytes() + AllBytes());
    t.Base64Encode();
    EXPECT_EQ(t.value.find("\r\n") != std::string::npos, noWrap == 0);
    t.Base64Decode();
    EXPECT_EQ(t.value, AllBytes() + AllBytes());
  }
}

TEST(TextropeBase64, LineBreaksAfterEvery76Characters) {
  struct Case {
    std::size_t plain;
    LONG noWrap, coded;
  } cases[] = {
      {57, 0, 78}, {58, 0, 82},
      {56, 0, 78},  // 19 groups, the last one short, still fill a line
      {58, 1, 80},
  };
  for (const auto& c : cases) {
    Textrope t;
    t.base64NoWrap = c.noWrap;
    t.SetValue(std::string(c.plain, 'x'));
    t.Base64Encode();
    EXPECT_EQ(t.Length(), c.coded) << c.plain;
    EXPECT_EQ(t.value.substr(76, 2) == "\r\n", c.noWrap == 0) << c.plain;
  }
}

// The encoding a group of three bytes at a time, as the standard spells it out.
std::string GroupAtATime(const std::string& data, LONG noWrap) {
  static constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string expected;
  for (std::size_t i = 0; i < data.size(); i += 3) {
    const std::size_t count = std::min<std::size_t>(3, data.size() - i);
    std::uint32_t bits = 0;
    for (std::size_t k = 0; k < 3; ++k) bits = bits << 8 | (k < count ? static_cast<unsigned char>(data[i + k]) : 0u);
    for (std::size_t k = 0; k < 4; ++k) expected += k <= count ? kAlphabet[(bits >> (18 - 6 * k)) & 63] : '=';
    if (noWrap == 0 && expected.size() % 78 == 76) expected += "\r\n";
  }
  return expected;
}

std::string Encoded(const std::string& data, LONG noWrap) {
  Textrope t;
  t.base64NoWrap = noWrap;
  t.SetValue(data);
  t.Base64Encode();
  return t.value;
}

// Whole lines are encoded without counting columns; every length around the line ends must
// still give a group at a time, with a break after every 76 characters.
TEST(TextropeBase64, EveryLengthAgreesWithGroupAtATime) {
  std::string data;
  for (std::size_t n = 0; n < 400; ++n) {
    data += static_cast<char>(n * 37 + 11);
    for (LONG noWrap : {0, 1}) {
      ASSERT_EQ(Encoded(data, noWrap), GroupAtATime(data, noWrap)) << n << " bytes, noWrap " << noWrap;
    }
  }
}

// Long values go many bytes at a time where the processor allows, and the rest a group at a
// time: every remainder after many lines or chunks, every byte value, runs of NUL and of FFh
// (the last letters of the alphabet), and a value of megabytes.
TEST(TextropeBase64, LongValuesAgreeWithGroupAtATime) {
  std::mt19937 random(9);
  auto randomBytes = [&](std::size_t n) {
    std::string bytes(n, '\0');
    for (char& c : bytes) c = static_cast<char>(random());
    return bytes;
  };
  std::vector<std::string> values;
  for (std::size_t whole : {57u * 3, 24u * 7, 57u * 24 * 5}) {
    for (std::size_t extra = 0; extra <= 60; ++extra) values.push_back(randomBytes(whole + extra));
  }
  values.push_back(std::string(57 * 40 + 1, '\0'));
  values.push_back(std::string(57 * 40 + 2, '\xff'));
  values.push_back(AllBytes() + AllBytes() + AllBytes());
  values.push_back(randomBytes((std::size_t{3} << 20) + 5));
  for (const std::string& value : values) {
    for (LONG noWrap : {0, 1}) {
      ASSERT_EQ(Encoded(value, noWrap), GroupAtATime(value, noWrap)) << value.size() << " bytes, noWrap " << noWrap;
    }
  }
}

TEST(TextropeBase64, EncodingTwiceIsRefused) {
  TraceCapture capture;
  Textrope t;
  t.SetValue("abc");
  t.Base64Encode();
  t.Base64Encode();
  EXPECT_EQ(t.value, "YWJj");
  EXPECT_EQ(capture.lines, std::vector<std::string>{"[tx] already base 64 encoded"});
  Textrope empty;
  empty.Base64Encode();
  EXPECT_EQ(empty.Length(), 0);
  EXPECT_EQ(empty.base64, 1);
}

TEST(TextropeBase64, DecodingSkipsForeignBytesAndReadsPadding) {
  struct Case {
    std::string coded, plain;
  } cases[] = {
      {"YWJj", "abc"},
      {"YW Jj", "abc"},
      {"YW\r\nJj\r\n", "abc"},
      {"YWI=", "ab"},
      {"YWJjZA", "abc"},      // digits of an unfinished last group without padding are dropped
      {"YQ=", "a"},           // padding cut short still says where the value ends
      {"YQ==", "a"},
      {"====", ""},           // only padding: nothing, never a negative length
      {"=", ""},
      {"YQ==YWJj", "aabc"},   // each group keeps its own padding
      {"!*YWJj#", "abc"},
      {"AAAA", "\0\0\0"s},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Edited(c.coded, [](Textrope& t) { t.Base64Decode(); }), c.plain) << "'" << c.coded << "'";
  }
}

// Into a caller's text of fixed size: "#" marks the bytes the call did not write.
TEST(TextropeBase64, IntoABufferTruncatesAndReports) {
  std::string oneLine;  // the Base64 of 57 "x": one full line
  for (int i = 0; i < 19; ++i) oneLine += "eHh4";
  struct Case {
    bool encode;
    std::string value;
    std::size_t room;
    LONG length;  // in: how much of the value; out: how much was written
    std::string written;
    LONG lengthAfter;
    bool truncated;
  } cases[] = {
      {false, "YWJj", 2, 0, "##", 0, true},
      {false, "YWJj", 3, -7, "abc", 3, false},  // a negative length means the whole value
      {false, "YWJj", 8, 0, "abc#####", 3, false},  // bytes after the output are the caller's
      {false, "YWJjYWJjYQ", 6, 0, "abcabc", 6, false},
      {false, "YWJjYWJjYQ=", 6, 0, "abcabc", 6, true},
      {false, "YWJj", 3, 2, "###", 0, false},  // the first two characters only: an unfinished group
      {true, std::string(57, 'x'), 78, 0, oneLine + "\r\n", 78, false},
      {true, std::string(57, 'x'), 10, 0, "eHh4eHh4eH", 10, true},
      {true, "abcdef", 5, 0, "YWJj#", 4, true},  // one character left: no new group is begun
      {true, "abcdef", 4, 3, "YWJj", 4, false},  // the first three bytes fit exactly
  };
  for (const auto& c : cases) {
    Textrope t;
    t.SetValue(c.value);
    std::string text(c.room, '#');
    LONG length = c.length;
    c.encode ? t.Base64Encode(text, length) : t.Base64Decode(text, length);
    const std::string row = (c.encode ? "encode '" : "decode '") + c.value + "' into " + std::to_string(c.room);
    EXPECT_EQ(length, c.lengthAfter) << row;
    EXPECT_EQ(text, c.written) << row;
    EXPECT_EQ(t.lastError, !c.truncated ? "" : c.encode ? kEncodeTruncated : kDecodeTruncated) << row;
    EXPECT_EQ(t.value, c.value) << row;
  }
}

TEST(TextropeEncodedWord, EncodeBothForms) {
  struct Case {
    const char *value, *charset;
    LONG encoding;
    const char* expected;
  } cases[] = {
      {"Hi", "", 1, "=?iso-8859-1?B?SGk=?="},
      {"a b", "utf-8", 2, "=?utf-8?Q?a=20b?="},
      {"a_b=c?d", "  ", 2, "=?iso-8859-1?Q?a=5Fb=3Dc=3Fd?="},
      {"", "x", 2, "=?x?Q?" "?="},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Edited(c.value, [&](Textrope& t) { t.EncodedWordEncode(c.charset, c.encoding); }), c.expected);
  }
}

TEST(TextropeEncodedWord, DecodeKnownWords) {
  struct Case {
    std::string value, expected;
  } cases[] = {
      {"=?iso-8859-1?Q?a=20b?=", "a b"},
      {"=?x?B?SGk=?=", "Hi"},
      {"=?x?q?a_b?=", "a b"},
      {"=?ISO-8859-1?B?SWYgeW91IGNhbiByZWFkIHRoaXMgeW8=?=\r\n=?ISO-8859-2?B?dSB1bmRlcnN0YW5kIHRoZSBleGFtcGxlLg==?=",
       "If you can read this you understand the example."},
      {"=?US-ASCII?Q?Keith_Moore?=", "Keith Moore"},
      {"=?x?Q?" "?=", ""},
      {"=?x?Z?abc?=", ""},
      {"plain text", "plain text"},  // not an encoded word: left alone
      {"=?x?Q?a", "=?x?Q?a"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Edited(c.value, [](Textrope& t) { t.EncodedWordDecode(); }), c.expected) << c.value;
  }
}

TEST(TextropeEncodedWord, RoundTripsInBothForms) {
  const std::string values[] = {"a_b", "x y_z?=", std::string(200, 'q'), AllBytes().substr(1)};
  for (LONG encoding : {1, 2}) {
    for (LONG noWrap : {0, 1}) {
      for (const std::string& plain : values) {
        Textrope t;
        t.base64NoWrap = noWrap;
        t.SetValue(plain);
        t.EncodedWordEncode("utf-8", encoding);
        EXPECT_EQ(t.value.find("\r\n"), std::string::npos);
        t.EncodedWordDecode();
        EXPECT_EQ(t.value, plain) << "form " << encoding << " value of " << plain.size() << " bytes";
      }
    }
  }
}

}  // namespace
