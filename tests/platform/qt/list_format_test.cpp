#include "platform/qt/list_format.h"

#include <gtest/gtest.h>

namespace qtscreen {
namespace {

TEST(ListFormat, ReadsTheCabListColumns) {
  ListFormat f = ParseListFormat("32R(2)|M~Cab No.~@n_3@32R(2)|M~User Cab~@N_3B@252L(2)|M~Name~@s63@");
  ASSERT_FALSE(f.error) << f.error->reason;
  ASSERT_EQ(f.columns.size(), 3u);

  struct Expected {
    int width;
    Alignment alignment;
    const char* header;
    Picture::Kind kind;
    int size;
    bool blankWhenZero;
  };
  const Expected expected[] = {
      {32, Alignment::Right, "Cab No.", Picture::Kind::Number, 3, false},
      {32, Alignment::Right, "User Cab", Picture::Kind::Number, 3, true},
      {252, Alignment::Left, "Name", Picture::Kind::String, 63, false},
  };
  for (std::size_t i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    const ColumnFormat& c = f.columns[i];
    EXPECT_EQ(c.width, expected[i].width);
    EXPECT_EQ(c.alignment, expected[i].alignment);
    EXPECT_EQ(c.indent, 2);
    EXPECT_TRUE(c.resizable);
    EXPECT_TRUE(c.rightBorder);
    EXPECT_EQ(c.header, expected[i].header);
    EXPECT_EQ(c.headerAlignment, c.alignment);  // a header without its own letter follows the data
    EXPECT_EQ(c.picture.kind, expected[i].kind);
    EXPECT_EQ(c.picture.size, expected[i].size);
    EXPECT_EQ(c.picture.blankWhenZero, expected[i].blankWhenZero);
  }
}

TEST(ListFormat, ReadsOptionalPartsAndHeaderAlignment) {
  ListFormat f = ParseListFormat("40C@s5@12L~Hdr~C(3)@n03@");
  ASSERT_FALSE(f.error) << f.error->reason;
  ASSERT_EQ(f.columns.size(), 2u);
  EXPECT_EQ(f.columns[0].alignment, Alignment::Centre);
  EXPECT_EQ(f.columns[0].indent, 0);
  EXPECT_FALSE(f.columns[0].resizable);
  EXPECT_FALSE(f.columns[0].rightBorder);
  EXPECT_EQ(f.columns[0].header, "");
  EXPECT_EQ(f.columns[1].headerAlignment, Alignment::Centre);
  EXPECT_EQ(f.columns[1].headerIndent, 3);
  EXPECT_EQ(f.columns[1].picture.fill, '0');
}

TEST(ListFormat, MalformedStringsKeepOnlyWholeColumnsAndSayWhere) {
  struct Case {
    const char* format;
    std::size_t columns;
  };
  const Case cases[] = {
      {"R(2)~A~@s5@", 0},              // no width
      {"32X~A~@s5@", 0},               // unknown alignment
      {"32R(2~A~@s5@", 0},             // unclosed indent
      {"32R~Cab No.@n_3@", 0},         // unclosed header
      {"32R~A~", 0},                   // no picture
      {"32R~A~@n_3", 0},               // unclosed picture
      {"32R~A~@q3@", 0},               // unknown picture
      {"32R~A~@n_3@40L~B~@s0@", 1},    // second column broken
      {"32R~A~@n_3@junk", 1},
      {"999999R~A~@s5@", 0},           // absurd width
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.format);
    ListFormat f = ParseListFormat(c.format);
    ASSERT_TRUE(f.error.has_value());
    EXPECT_FALSE(f.error->reason.empty());
    EXPECT_EQ(f.columns.size(), c.columns);
  }
  EXPECT_EQ(ParseListFormat("32R~A~@n_3@junk").error->position, 11u);
}

TEST(ListFormat, EmptyStringHasNoColumns) {
  ListFormat f = ParseListFormat("");
  EXPECT_FALSE(f.error);
  EXPECT_TRUE(f.columns.empty());
}

TEST(Picture, FormatsCellValues) {
  struct Case {
    const char* picture;
    const char* value;
    const char* shown;
  };
  const Case cases[] = {
      {"n_3", "7", "  7"},
      {"n_3", "123", "123"},
      {"n_3", "0", "  0"},
      {"n_3", "1000", "###"},     // too wide: never a cut-off number
      {"n_3", "-5", " -5"},
      {"n_3", "-100", "###"},
      {"n_3", "abc", "  0"},      // not a number: zero, as the runtime converts
      {"n_3", "", "  0"},
      {"n_3", " 42", " 42"},
      {"n_3", "2.6", "  3"},
      {"N_3B", "0", "   "},
      {"N_3B", "12", " 12"},
      {"n_3B", "", "   "},
      {"n03", "7", "007"},
      {"n04", "-7", "-007"},
      {"n7", "1234567", "#######"},
      {"n9", "1234567", "1,234,567"},
      {"n6", "1234", " 1,234"},
      {"n_6", "1234", "  1234"},
      {"s5", "Hello world", "Hello"},
      {"s63", "4x12 Green", "4x12 Green"},
      {"s4", "ab\xC3\xA9z", "ab\xC3\xA9"},
      {"s3", "ab\xC3\xA9z", "ab"},  // never half a character
      {"S2", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.picture) + " <- \"" + c.value + "\"");
    std::optional<Picture> picture = ParsePicture(c.picture);
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(FormatCell(*picture, c.value), c.shown);
  }
}

TEST(Picture, RejectsUnknownPictures) {
  for (const char* text : {"", "n", "n_", "nB", "s", "s-3", "x3", "n_3C", "s3B", "n0", "s100000"}) {
    SCOPED_TRACE(text);
    EXPECT_FALSE(ParsePicture(text).has_value());
  }
}

}  // namespace
}  // namespace qtscreen
