#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "tests/textrope/support.h"
#include "textrope/textrope.h"

namespace {

using namespace std::string_literals;

constexpr ULONG kMinusOne = 4294967295u;  // a caller's -1

TEST(TextropeValue, SetValueClipsOnlyWhenAskedAndKeepsFlagsOnEmpty) {
  Textrope t;
  t.SetValue("abc  ", 1);
  EXPECT_EQ(t.value, "abc");
  t.SetValue("abc  ", 0);
  EXPECT_EQ(t.Length(), 5);
  EXPECT_EQ(t.ClipLength(), 3);
  t.base64 = 1;
  t.SetValue("", 0);
  EXPECT_EQ(t.Length(), 0);
  EXPECT_EQ(t.base64, 1);
  t.SetValue("x", 0);
  EXPECT_EQ(t.base64, 0);
}

TEST(TextropeValue, SetValueFromItsOwnBytes) {
  Textrope t;
  t.SetValue("abcdef");
  t.SetValue(std::string_view(t.value).substr(2));
  EXPECT_EQ(t.value, "cdef");
  t.SetValue(std::string_view(t.value).substr(0, 4));
  EXPECT_EQ(t.value, "cdef");
}

TEST(TextropeValue, AppendAndPrependFlagMatrix) {
  struct Case {
    const char* start;
    bool prepend;
    std::string added;
    LONG clip;
    const char* sep;
    std::string expected;
  } cases[] = {
      {"", false, "x", 0, ",", "x"},
      {"a", false, "x", 0, ",", "a,x"},
      {"a", false, "x", 0, "", "ax"},
      {"a", false, "   ", 2, ",", "a"},
      {"a", false, "", 2, ",", "a"},
      {"a", false, "   ", 0, ",", "a,   "},
      {"a", false, "b ", 1, "", "ab"},
      {"a", false, "b ", 3, "", "ab"},
      {"a ", false, " ", 1, "", "a"},
      {"a", true, "x  ", 0, ",", "x,a"},
      {"", true, "x  ", 0, ",", "x  "},
      {"", true, "x  ", 1, ",", "x"},
      {"a", true, "  ", 2, ",", "a"},
      {"a ", true, "x", 1, "", "xa"},
      {"a", true, "x", 0, "", "xa"},
  };
  for (const auto& c : cases) {
    auto add = [&](Textrope& t) { c.prepend ? t.Prepend(c.added, c.clip, c.sep) : t.Append(c.added, c.clip, c.sep); };
    EXPECT_EQ(Edited(c.start, add), c.expected) << (c.prepend ? "prepend '" : "append '") << c.added << "' to '"
                                                << c.start << "' flags " << c.clip;
  }
}

TEST(TextropeValue, AppendBinaryTakesLowBytesFirst) {
  Textrope t;
  t.AppendBinary(0x00434241, 3);
  EXPECT_EQ(t.value, "ABC");
  t.AppendBinary(0x00434241, 0);
  t.AppendBinary(0x00434241, 5);
  EXPECT_EQ(t.value, "ABC");
  t.AppendBinary(-1, 2);
  t.AppendBinary(0x7F, 4);
  EXPECT_EQ(t.value, "ABC\xFF\xFF\x7F\0\0\0"s);
}

TEST(TextropeValue, SetLengthPadsWithBlanksAndEmpties) {
  Textrope t;
  t.SetValue("ab");
  t.SetLength(5);
  EXPECT_EQ(t.value, "ab   ");
  t.SetLength(1);
  EXPECT_EQ(t.value, "a");
  t.SetLength(0);
  EXPECT_EQ(t.Length(), 0);
  t.SetLength(2);
  EXPECT_EQ(t.value, "  ");
  t.SetLength(-4);
  EXPECT_EQ(t.Length(), 0);
}

TEST(TextropeValue, SliceSubAndCropTable) {
  enum Op { kSlice, kSub, kCrop };
  struct Case {
    Op op;
    ULONG a, b;
    const char* expected;
  } cases[] = {
      {kSlice, 2, 4, "bcd"},    {kSlice, 0, 0, "abcdef"},        {kSlice, 5, 99, "ef"},
      {kSlice, 7, 9, ""},       {kSlice, 4, 2, ""},              {kSlice, 3, kMinusOne, "cdef"},
      {kSlice, kMinusOne, 2, ""}, {kSlice, kMinusOne, kMinusOne, ""}, {kSlice, 6, 6, "f"},
      {kSub, 5, 10, "ef"},      {kSub, 0, 2, "ab"},              {kSub, 2, 0, ""},
      {kSub, 7, 1, ""},         {kSub, 2, kMinusOne, "bcdef"},   {kSub, kMinusOne, 3, ""},
      {kCrop, 0, 3, "abcdef"},  {kCrop, 2, 0, "bcdef"},          {kCrop, 2, 4, "bcd"},
      {kCrop, 4, 2, "abcdef"},  {kCrop, 7, 0, "abcdef"},         {kCrop, 3, kMinusOne, "cdef"},
      {kCrop, kMinusOne, 2, "abcdef"},
  };
  for (const auto& c : cases) {
    Textrope t;
    t.SetValue("abcdef");
    std::string got;
    switch (c.op) {
      case kSlice: got = t.Slice(c.a, c.b); break;
      case kSub: got = t.Sub(c.a, c.b); break;
      case kCrop: t.Crop(c.a, c.b); got = t.value; break;
    }
    EXPECT_EQ(got, c.expected) << "op " << c.op << " (" << c.a << ", " << c.b << ")";
  }
  Textrope empty;
  EXPECT_EQ(empty.Slice(1, 3), "");
  EXPECT_EQ(empty.Sub(1, 3), "");
  empty.Crop(1, 3);
  EXPECT_EQ(empty.Length(), 0);
}

TEST(TextropeValue, GetValueCutsToMaxLen) {
  Textrope t;
  t.SetValue("abcdef");
  EXPECT_EQ(t.GetValue(3), "abc");
  EXPECT_EQ(t.GetValue(0), "");
  t.SetValue("ab");
  EXPECT_EQ(t.GetValue(3), "ab");
}

TEST(TextropeValue, NulBytesAreOrdinaryBytes) {
  Textrope t;
  t.SetValue("a\0b\0 "s, 1);
  EXPECT_EQ(t.value, "a\0b\0"s);
  t.Append("\0"s, 0, "\0"s);
  EXPECT_EQ(t.Length(), 6);
  EXPECT_EQ(t.Slice(2, 3), "\0b"s);
  EXPECT_EQ(t.Sub(4, 2), "\0\0"s);
  t.Prepend("\0z"s, 0);
  EXPECT_EQ(t.value, "\0za\0b\0\0\0"s);
  t.Crop(2, 3);
  EXPECT_EQ(t.value, "za");
}

TEST(TextropeValue, ToCStringIsClippedAndDoublyTerminated) {
  Textrope t;
  t.SetValue("ab  ");
  auto text = t.ToCString();
  EXPECT_EQ(std::memcmp(text.get(), "ab\0\0", 4), 0);
  EXPECT_EQ(t.value, "ab  ");
}

TEST(TextropeValue, MD5GivesTheDigest) {
  struct Case {
    std::string input, digest;
  } cases[] = {
      {"", "d41d8cd98f00b204e9800998ecf8427e"},
      {"abc", "900150983cd24fb0d6963f7d28e17f72"},
      {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
  };
  for (const auto& c : cases) {
    Textrope t;
    t.SetValue(c.input);
    EXPECT_EQ(t.MD5(), c.digest) << c.input;
    EXPECT_EQ(t.value, c.input);
  }
}

TEST(TextropeValue, FreeEmptiesValueAndOnRequestTheLines) {
  Textrope t;
  t.SetValue("x");
  t.lines.push_back({"one"});
  t.Free(0);
  EXPECT_EQ(t.Length(), 0);
  EXPECT_EQ(t.lines.size(), 1u);
  t.Free(1);
  EXPECT_TRUE(t.lines.empty());
}

// A freed value gives its block back: a large value must not stay held after Free.
TEST(TextropeValue, FreeGivesTheMemoryBack) {
  Textrope t;
  t.SetValue(std::string(1 << 20, 'v'));
  t.Free(0);
  EXPECT_LT(t.value.capacity(), 64u);
}

TEST(TextropeTrace, PrefixUnlessTheTextHoldsABracket) {
  TraceCapture capture;
  Textrope t;
  t.Trace("[x] done");
  t.Trace("done  ");
  t.SetValue("value [v] ");
  t.Trace();
  t.SetValue("plain\0hidden"s);
  t.Trace();
  t.Trace(""s);
  EXPECT_EQ(capture.lines, (std::vector<std::string>{"[x] done", "[tx] done", "value [v] ", "[tx] plain", "[tx] "}));
}

TEST(TextropeErrorTrap, RecordsAndTracesOnlyWhenLogging) {
  TraceCapture capture;
  Textrope t;
  t.ErrorTrap("LoadFile", "quiet");
  EXPECT_EQ(t.lastError, "quiet");
  EXPECT_TRUE(capture.lines.empty());

  t.logErrors = 1;
  t.ErrorTrap("LoadFile  ", "loud  ");
  EXPECT_EQ(t.lastError, "loud  ");
  t.winErrorCode = 2;
  t.ErrorTrap("SaveFile", "failed");
  EXPECT_EQ(capture.lines, (std::vector<std::string>{
                               "[tx] LoadFile: loud",
                               "[tx] SaveFile: failed",
                               "[tx]   API Error: 2: The system cannot find the file specified.\r\n",
                           }));
  EXPECT_EQ(t.FormatMessage(2), "The system cannot find the file specified.\r\n");

  t.ErrorTrap("X", std::string(300, 'e'));
  EXPECT_EQ(t.lastError, std::string(252, 'e'));
}

// Methods reach one another through the object: an override changes its callers.
TEST(TextropeValue, MethodsCallThroughTheObject) {
  struct Counting : Textrope {
    int sets = 0;
    LONG lengths = 0;
    void SetValue(std::string_view v, LONG clip) override {
      ++sets;
      Textrope::SetValue(v, clip);
    }
    LONG LengthA() override { return lengths; }
  } t;
  t.Append("a", 0);
  t.Prepend("b", 0);
  t.Crop(1, 1);
  EXPECT_EQ(t.sets, 3);
  EXPECT_EQ(t.value, "b");
  t.lengths = 42;
  EXPECT_EQ(t.Length(), 42);
  EXPECT_EQ(t.Len(), 42);
}

}  // namespace
