#include <gtest/gtest.h>

#include "platform/harness/json_text.h"
#include "platform/rt/list_format.h"
#include "platform/rt/use.h"

namespace {

TEST(ListFormat, ReadsTheColumnsOfTheCabList) {
  auto columns = rt::ParseListFormat("32R(2)|M~Cab No.~@n_3@32R(2)|M~User Cab~@N_3B@252L(2)|M~Name~@s63@");
  ASSERT_EQ(columns.size(), 3u);
  EXPECT_EQ(columns[0].width, 32);
  EXPECT_EQ(columns[0].align, 'R');
  EXPECT_EQ(columns[0].indent, 2);
  EXPECT_TRUE(columns[0].rightBorder);
  EXPECT_TRUE(columns[0].resizable);
  EXPECT_EQ(columns[0].header, "Cab No.");
  EXPECT_EQ(columns[1].picture, "@N_3B");
  EXPECT_EQ(columns[2].width, 252);
  EXPECT_EQ(columns[2].align, 'L');
  EXPECT_EQ(columns[2].picture, "@s63");
}

TEST(ListFormat, BrokenFormatsKeepTheWholeColumnsBeforeTheFault) {
  EXPECT_EQ(rt::ParseListFormat("").size(), 0u);
  EXPECT_EQ(rt::ParseListFormat("20L~open header").size(), 0u);
  EXPECT_EQ(rt::ParseListFormat("20L~A~@s5@30R~B~@n3").size(), 1u);
  EXPECT_EQ(rt::ParseListFormat("20L~A~@s5@x").size(), 1u);
  EXPECT_EQ(rt::ParseListFormat("99999999999999L@s1@").front().width, 99999);
}

struct PictureCase {
  const char* value;
  const char* picture;
  const char* shown;
};

TEST(Pictures, ShowValuesAsTheProgramExpects) {
  const PictureCase cases[] = {
      {"7", "@n_3", "7"},
      {"0", "@N_3B", ""},
      {"12", "@N_3B", "12"},
      {"1234", "@n_3", "###"},      // too wide: never a cut-off number
      {"1234567", "@n9", "1,234,567"},
      {"1234567", "@n_9", "1234567"},
      {"42", "@n04", "0042"},
      {"-42", "@n05", "-0042"},
      {"42", "@n0", "42"},           // zero fill without a width: nothing to fill
      {"-42", "@n0", "-42"},
      {"-42", "@n01", "#"},
      {"-3.14159", "@n8.2", "-3.14"},
      {"abc", "@n3", "0"},          // text that is no number counts as zero
      {"12abc", "@n3", "12"},
      {"Name that is long", "@s4", "Name"},
      {"caf\xC3\xA9", "@s4", "caf"},  // never half a character
      {"as is", "@d6", "as is"},
      {"as is", "", "as is"},
  };
  for (const auto& c : cases) EXPECT_EQ(rt::FormatPicture(c.value, c.picture), c.shown) << c.value << " " << c.picture;
}

TEST(UseBinding, ConvertsAsAnAssignmentDoes) {
  BYTE byte = 0;
  rt::Use(byte).Set("300");
  EXPECT_EQ(byte, 44);
  rt::Use(byte).Set("-1");
  EXPECT_EQ(byte, 255);
  LONG number = 5;
  rt::Use(number).Set("not a number");
  EXPECT_EQ(number, 0);
  rt::Use(number).Set("  -17.9xyz");
  EXPECT_EQ(number, -17);
  rt::Use(number).Set("99999999999999999999999");  // clamps instead of overflowing
  REAL real = 0;
  rt::Use(real).Set("2.5");
  EXPECT_EQ(rt::Use(real).Get(), "2.5");
  std::string text;
  rt::Use(text).Set("kept as typed");
  EXPECT_EQ(rt::Use(text).Get(), "kept as typed");
  EXPECT_FALSE(rt::Use().Bound());
  EXPECT_EQ(rt::Use().Get(), "");
}

TEST(JsonText, AlwaysWritesValidJson) {
  EXPECT_EQ(harness::json::Quote("a\"b\\c\n\t\x01"), R"("a\"b\\c\n\t\u0001")");
  EXPECT_EQ(harness::json::Quote("caf\xC3\xA9"), "\"caf\xC3\xA9\"");
  EXPECT_EQ(harness::json::Quote("\xE9t\xC3"), R"("\u00e9t\u00c3")");  // not UTF-8: byte by byte
  EXPECT_EQ(harness::json::Quote("\xED\xA0\x80"), R"("\u00ed\u00a0\u0080")");  // no surrogates
  EXPECT_EQ(harness::json::Quote("\xF0\x9F\x8E\xB8"), "\"\xF0\x9F\x8E\xB8\"");  // U+1F3B8
  EXPECT_EQ(harness::json::Quote("\xF4\x90\x80\x80"), R"("\u00f4\u0090\u0080\u0080")");  // beyond U+10FFFF
  EXPECT_EQ(harness::json::Quote("\xF8\x80\x80"), R"("\u00f8\u0080\u0080")");  // F5h-FFh start nothing
  EXPECT_EQ(harness::json::Quote("\xFF\xFE"), R"("\u00ff\u00fe")");
}

}  // namespace
