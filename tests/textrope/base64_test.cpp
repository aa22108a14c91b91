#include <gtest/gtest.h>

#include <string>

#include "tests/textrope/trace_capture.h"
#include "textrope/textrope.h"

namespace {

using namespace std::string_literals;

const std::string kEncodeTruncated =
    "The passed string was not large enough to hold the Base64 encoded data. The data has been truncated.";
const std::string kDecodeTruncated =
    "The passed string was not large enough to hold the Base64 decoded data. The data has been truncated.";

std::string AllBytes() {
  std::string bytes;
  for (int i = 0; i < 256; ++i) bytes += static_cast<char>(i);
  return bytes;
}

// Test vectors of the Base64 standard, both ways.
TEST(TextropeBase64, StandardVectorsRoundTrip) {
  struct Case {
    const char* plain;
    const char* coded;
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
  Textrope t;
  t.SetValue(std::string(57, 'x'));
  t.Base64Encode();
  EXPECT_EQ(t.Length(), 78);
  EXPECT_EQ(t.value.substr(76), "\r\n");
  t.SetValue(std::string(58, 'x'));
  t.Base64Encode();
  EXPECT_EQ(t.Length(), 82);
  EXPECT_EQ(t.value.substr(76, 2), "\r\n");
  t.SetValue(std::string(56, 'x'));  // 19 groups, the last one short, still fill a line
  t.Base64Encode();
  EXPECT_EQ(t.Length(), 78);
  t.base64NoWrap = 1;
  t.SetValue(std::string(58, 'x'));
  t.Base64Encode();
  EXPECT_EQ(t.Length(), 80);
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
    std::string coded;
    std::string plain;
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
    Textrope t;
    t.SetValue(c.coded);
    t.Base64Decode();
    EXPECT_EQ(t.value, c.plain) << "'" << c.coded << "'";
  }
}

TEST(TextropeBase64, IntoABufferTruncatesAndReports) {
  Textrope t;
  t.SetValue("YWJj");
  std::string two(2, '#');
  LONG length = 0;
  t.Base64Decode(two, length);
  EXPECT_EQ(length, 0);
  EXPECT_EQ(two, "##");
  EXPECT_EQ(t.lastError, kDecodeTruncated);

  Textrope u;
  std::string three(3, '#');
  length = -7;  // a negative length means the whole value
  u.SetValue("YWJj");
  u.Base64Decode(three, length);
  EXPECT_EQ(length, 3);
  EXPECT_EQ(three, "abc");
  EXPECT_EQ(u.lastError, "");
  EXPECT_EQ(u.value, "YWJj");
  std::string roomy(8, '#');
  length = 0;
  u.Base64Decode(roomy, length);
  EXPECT_EQ(roomy, "abc#####");  // bytes after the output are the caller's
  u.SetValue("YWJjYWJjYQ");
  std::string six(6, '#');
  length = 0;
  u.Base64Decode(six, length);
  EXPECT_EQ(length, 6);
  EXPECT_EQ(six, "abcabc");
  EXPECT_EQ(u.lastError, "");
  u.SetValue("YWJjYWJjYQ=");
  length = 0;
  u.Base64Decode(six, length);
  EXPECT_EQ(length, 6);
  EXPECT_EQ(u.lastError, kDecodeTruncated);
  u.SetValue("YWJj");
  length = 2;  // the first two characters only: an unfinished group
  u.Base64Decode(three, length);
  EXPECT_EQ(length, 0);

  Textrope e;
  e.SetValue(std::string(57, 'x'));
  std::string exact(78, '#');
  length = 0;
  e.Base64Encode(exact, length);
  EXPECT_EQ(length, 78);
  EXPECT_EQ(exact.substr(76), "\r\n");
  EXPECT_EQ(e.lastError, "");
  std::string ten(10, '#');
  length = 0;
  e.Base64Encode(ten, length);
  EXPECT_EQ(length, 10);
  EXPECT_EQ(ten, "eHh4eHh4eH");
  EXPECT_EQ(e.lastError, kEncodeTruncated);
  EXPECT_EQ(e.Length(), 57);

  Textrope f;
  f.SetValue("abcdef");
  std::string five(5, '#');
  length = 0;
  f.Base64Encode(five, length);  // one character left: no new group is begun
  EXPECT_EQ(length, 4);
  EXPECT_EQ(five, "YWJj#");
  EXPECT_EQ(f.lastError, kEncodeTruncated);
  std::string four(4, '#');
  length = 3;  // the first three bytes fit exactly
  f.lastError.clear();
  f.Base64Encode(four, length);
  EXPECT_EQ(length, 4);
  EXPECT_EQ(f.lastError, "");
}

TEST(TextropeEncodedWord, EncodeBothForms) {
  struct Case {
    const char* value;
    const char* charset;
    LONG encoding;
    const char* expected;
  } cases[] = {
      {"Hi", "", 1, "=?iso-8859-1?B?SGk=?="},
      {"a b", "utf-8", 2, "=?utf-8?Q?a=20b?="},
      {"a_b=c?d", "  ", 2, "=?iso-8859-1?Q?a=5Fb=3Dc=3Fd?="},
      {"", "x", 2, "=?x?Q?" "?="},
  };
  for (const auto& c : cases) {
    Textrope t;
    t.base64NoWrap = 1;
    t.SetValue(c.value);
    t.EncodedWordEncode(c.charset, c.encoding);
    EXPECT_EQ(t.value, c.expected);
  }
}

TEST(TextropeEncodedWord, DecodeKnownWords) {
  struct Case {
    std::string value;
    std::string expected;
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
    Textrope t;
    t.SetValue(c.value);
    t.EncodedWordDecode();
    EXPECT_EQ(t.value, c.expected) << c.value;
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
