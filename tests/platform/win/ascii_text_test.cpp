#include <gtest/gtest.h>

#include <string_view>

#include "platform/win/system/ascii_text.h"

namespace {

using namespace std::string_view_literals;

TEST(AsciiText, ClippingTakesOnlyTrailingBlanks) {
  struct Case {
    std::string_view text, clipped;
  } cases[] = {
      {"name   ", "name"}, {"     ", ""}, {"", ""}, {"  lead", "  lead"},
      {"tab\t", "tab\t"}, {"nul\0 "sv, "nul\0"sv}, {"in side ", "in side"},
  };
  for (const Case& c : cases) EXPECT_EQ(win::Clipped(c.text), c.clipped) << c.text;
}

TEST(AsciiText, CaseFoldsAsciiLettersAndNothingElse) {
  // Bytes 20h apart that are no letters ("[" and "{", "@" and "`") and Latin-1 letters stay
  // apart, whatever the user's locale.
  struct Case {
    std::string_view a, b;
    bool equal;
  } cases[] = {
      {"Open", "oPEN", true},   {"open", "opens", false}, {"", "", true},
      {"[", "{", false},        {"@", "`", false},        {"\xC9", "\xE9", false},
      {"HKEY\\Run", "hkey\\run", true},
  };
  for (const Case& c : cases) EXPECT_EQ(win::EqualNoCase(c.a, c.b), c.equal) << c.a << " / " << c.b;
  EXPECT_EQ(win::Lower("MiXeD\xC9[Z]"), "mixed\xC9[z]");
  EXPECT_EQ(win::Upper("mixed\xE9{z}"), "MIXED\xE9{Z}");
}

TEST(AsciiText, APrefixMatchesInAnyCaseButNeverBeyondTheText) {
  EXPECT_TRUE(win::StartsWithNoCase("WWW.example.org", "www."));
  EXPECT_TRUE(win::StartsWithNoCase("mailto:", ""));
  EXPECT_FALSE(win::StartsWithNoCase("ww", "www."));
  EXPECT_FALSE(win::StartsWithNoCase("http:", "https:"));
}

}  // namespace
