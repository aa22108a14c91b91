#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "tests/support/hex_text.h"
#include "tests/textrope/support.h"
#include "textrope/textrope.h"

namespace {

using namespace std::string_literals;

constexpr char kFromBytesReport[] = "[tx] Textrope Error in FromBytes: The parameters are not the same length in bytes!";
constexpr char kToBytesReport[] = "[tx] Textrope Error in ToBytes: The parameters are not the same length in bytes!";

using test_support::HexBytes;

// SetBytes then GetBytes into a second variable of the same kind gives the first one back.
template <class T>
void ExpectTypedRoundTrip(const T& original, T target, const std::string& image) {
  Textrope t;
  t.SetBytes(original);
  EXPECT_EQ(HexBytes(t.value), image);
  t.GetBytes(target);
  if constexpr (std::is_same_v<T, CSTRING> || std::is_same_v<T, DECIMAL>) {
    EXPECT_EQ(target.Text(), original.Text());
  } else {
    EXPECT_EQ(target, original);
  }
}

TEST(TextropePacking, TypedRoundTripsAndImages) {
  ExpectTypedRoundTrip<BYTE>(200, 0, "C8");
  ExpectTypedRoundTrip<SHORT>(-2, 0, "FE FF");
  ExpectTypedRoundTrip<USHORT>(65535, 0, "FF FF");
  ExpectTypedRoundTrip<LONG>(1, 0, "01 00 00 00");
  ExpectTypedRoundTrip<ULONG>(0x80000001u, 0, "01 00 00 80");
  ExpectTypedRoundTrip<SREAL>(1.5f, 0, "00 00 C0 3F");
  ExpectTypedRoundTrip<REAL>(1.0, 0, "00 00 00 00 00 00 F0 3F");
  ExpectTypedRoundTrip(DECIMAL(7, 2, -12345.67), DECIMAL(7, 2), "F1 23 45 67");
  ExpectTypedRoundTrip(CSTRING(10, "abc"), CSTRING(10, "xyz"), "61 62 63");
  ExpectTypedRoundTrip("ab \0"s, "wxyz"s, "61 62 20 00");
}

TEST(TextropePacking, SizeMismatchReportsAndClears) {
  TraceCapture trace;
  Textrope t;
  t.SetValue("abc");
  LONG number = 7;
  t.GetBytes(number);
  EXPECT_EQ(number, 0);
  REAL real = 2.5;
  t.GetBytes(real);
  EXPECT_EQ(real, 0.0);
  std::string fixed = "abcde";
  t.GetBytes(fixed);
  EXPECT_EQ(fixed, std::string(5, '\0'));
  CSTRING text(10, "ab");
  t.GetBytes(text);  // holds 2 bytes of text, the value 3
  EXPECT_EQ(text.Text(), "");
  DECIMAL decimal(7, 0, 42);  // 4 bytes of storage
  t.GetBytes(decimal);
  EXPECT_EQ(decimal.Real(), 0.0);
  EXPECT_EQ(trace.lines, std::vector<std::string>(5, kFromBytesReport));

  trace.lines.clear();
  std::string tenBytes(10, 'x');
  t.ToBytes(REAL{1.0}, tenBytes);
  EXPECT_EQ(tenBytes, std::string(10, '\0'));
  std::string eightBytes(8, 'x');
  t.ToBytes(REAL{1.0}, eightBytes);
  EXPECT_EQ(HexBytes(eightBytes), "00 00 00 00 00 00 F0 3F");
  EXPECT_EQ(trace.lines, std::vector<std::string>{kToBytesReport});
  EXPECT_EQ(t.lastError, "");
  EXPECT_EQ(t.value, "abc");

  // A CSTRING takes bytes as long as the text it holds now.
  CSTRING three(8, "xyz");
  t.FromBytes("a\0c"s, three);
  EXPECT_EQ(three.Text(), "a");
}

TEST(TextropePacking, GenericSetBytesConvertsAsThePlatformDoes) {
  struct Case {
    double number;
    const char *type, *image;
  } cases[] = {
      {65535, "USHORT", "FF FF"},
      {3.9, "LONG", "03 00 00 00"},
      {-3.9, "LONG", "FD FF FF FF"},
      {4294967295.0, "ULONG", "FF FF FF FF"},
      {3000000000.0, "LONG", "00 00 00 80"},
      {70000, "BYTE", "00"},
      {300, "BYTE", "2C"},
      {-1, "BYTE", "FF"},
      {40000, "SHORT", "00 80"},
      {-70000, "USHORT", "90 EE"},
      {1e300, "ULONG", "00 00 00 00"},
      {-1e300, "LONG", "00 00 00 80"},
      {std::numeric_limits<double>::quiet_NaN(), "LONG", "00 00 00 80"},
      {std::numeric_limits<double>::infinity(), "SHORT", "00 80"},
      {1e300, "SREAL", "00 00 80 7F"},
      {-1e300, "SREAL", "00 00 80 FF"},
      {1.0, "REAL", "00 00 00 00 00 00 F0 3F"},
      {1.0, "DECIMAL  ", "00 00 00 00 00 00 F0 3F"},
  };
  for (const Case& c : cases) {
    Textrope t;
    REAL number = c.number;
    EXPECT_EQ(t.SetBytes(number, c.type), 1) << c.number << " " << c.type;
    EXPECT_EQ(HexBytes(t.value), c.image) << c.number << " " << c.type;
  }
}

TEST(TextropePacking, GenericRefusals) {
  Textrope t;
  t.SetValue("old");
  LONG number = 5;
  EXPECT_EQ(t.SetBytes(number, "long"), 0);
  EXPECT_EQ(t.value, "");
  EXPECT_EQ(t.lastError, "Cannot store the passed value, it is not of a valid type (long is not supported)");
  t.SetValue("old");
  EXPECT_EQ(t.SetBytes(number, "INT"), 0);
  EXPECT_EQ(t.value, "");
  std::string empty;
  EXPECT_EQ(t.SetBytes(empty, "STRING"), 0);
  EXPECT_EQ(t.lastError, "Cannot store the passed string, the length is zero");

  t.SetValue("abcd");
  EXPECT_EQ(t.GetBytes(number, "long"), 0);
  EXPECT_EQ(number, 5);
  EXPECT_EQ(t.lastError, "Unsupported data type: long");

  TraceCapture trace;
  t.SetValue("hello");
  std::string ten(10, 'x');
  EXPECT_EQ(t.GetBytes(ten, "STRING"), 0);
  EXPECT_EQ(ten, "0         ");
  EXPECT_EQ(t.GetBytes(number, "SHORT"), 0);
  EXPECT_EQ(number, 0);
  EXPECT_EQ(trace.lines, (std::vector<std::string>{
                             "[tx] Textrope.GetBytes error. 5 bytes stored, 10 bytes required for type: STRING",
                             "[tx] Textrope.GetBytes error. 5 bytes stored, 2 bytes required for type: SHORT"}));
}

TEST(TextropePacking, GenericGetBytesReadsTheNamedType) {
  Textrope t;
  t.SetValue("\xff\xff\xff\xff");
  REAL real = 0;
  EXPECT_EQ(t.GetBytes(real, "ULONG"), 1);
  EXPECT_EQ(real, 4294967295.0);
  LONG number = 0;
  EXPECT_EQ(t.GetBytes(number, "LONG"), 1);
  EXPECT_EQ(number, -1);
  EXPECT_EQ(t.GetBytes(number, "ULONG"), 1);  // beyond a LONG: its most negative value
  EXPECT_EQ(number, -2147483647 - 1);
  std::string text = "    ";
  t.SetValue("\x2a\x00"s);
  EXPECT_EQ(t.GetBytes(text, "SHORT"), 1);
  EXPECT_EQ(text, "42  ");

  REAL price = -12.25;
  ASSERT_EQ(t.SetBytes(price, "DECIMAL"), 1);
  DECIMAL decimal(6, 2);
  EXPECT_EQ(t.GetBytes(decimal, "DECIMAL"), 1);
  EXPECT_EQ(decimal.Text(), "-12.25");

  CSTRING name(16, "cab");
  ASSERT_EQ(t.SetBytes(name, "CSTRING"), 1);
  EXPECT_EQ(t.value, "cab");
  CSTRING other(16, "xyz");
  EXPECT_EQ(t.GetBytes(other, "CSTRING"), 1);
  EXPECT_EQ(other.Text(), "cab");
  LONG fromText = 0;
  std::string digits = "  -17 cabs";
  ASSERT_EQ(t.SetBytes(digits, "LONG"), 1);  // a text read as a number
  EXPECT_EQ(t.GetBytes(fromText, "LONG"), 1);
  EXPECT_EQ(fromText, -17);
}

TEST(TextropePacking, DecimalStorageAndLimits) {
  struct Case {
    int digits, places;
    double value;
    const char *text, *storage;
  } cases[] = {
      {7, 2, -12345.67, "-12345.67", "F1 23 45 67"},
      {4, 2, 1.5, "1.50", "00 01 50"},
      {4, 2, 123.456, "99.99", "00 99 99"},  // beyond the digits: the largest they hold
      {3, 0, -2.6, "-3", "F0 03"},
      {3, 1, std::numeric_limits<double>::quiet_NaN(), "0.0", "00 00"},
      {3, 0, -0.2, "0", "00 00"},
  };
  for (const Case& c : cases) {
    DECIMAL d(c.digits, c.places, c.value);
    EXPECT_EQ(d.Text(), c.text) << c.value;
    EXPECT_EQ(HexBytes(std::string(reinterpret_cast<const char*>(d.Storage().data()), d.Storage().size())), c.storage);
  }
}

}  // namespace
