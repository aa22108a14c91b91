#include <gtest/gtest.h>

#include <string>

#include "links/link_text.h"
#include "links/linkbright_class.h"

namespace {

std::string Escaped(const std::string& url) {
  vrLinkbrightClass link;
  link.URLToRun = url;
  link.MakeEmailURLSafe();
  return link.URLToRun;
}

TEST(MakeEmailURLSafe, EscapesEachByteClassAsAMailProgramNeeds) {
  struct Case {
    std::string in;
    std::string out;
  } cases[] = {
      // With a body part only the body is escaped; the subject keeps its blank.
      {"mailto:a@b.c?subject=Two words&body=Say hi; bye", "mailto:a@b.c?subject=Two words&body=Say%20hi%3B%20bye"},
      {"mailto:a@b.c?subject=Two words", "mailto:a@b.c?subject=Two%20words"},
      {"mailto:a@b.c?Subject=x&CC=d@e.f&bcc=g@h.i", "mailto:a@b.c?Subject=x&CC=d@e.f&bcc=g@h.i"},
      {"mailto:a@b.c?to=x&body=a&b", "mailto:a@b.c?to=x&body=a%26b"},
      {"mailto:a@b.c?subject=x&body=a&CC=y", "mailto:a@b.c?subject=x&body=a&CC=y"},
      {"a@b.c?x", "a@b.c%3Fx"},
      {"a@b.c?subjects", "a@b.c?subjects"},
      {"a@b.c<x>;y", "a@b.c%3Cx%3E%3By"},
      {std::string("a@b.c\x01\t\r\n", 9), "a@b.c%01%09%0D%0A"},
      {std::string("a\0b", 3), "a%00b"},
      {"100%41 %4g %", "100%41%20%254g%20%25"},
      {"%aF%", "%aF%25"},
      {"caf\xc3\xa9 \xff", "caf\xc3\xa9%20\xff"},
      {"\"mailto:a@b.c?subject=x y\"", "mailto:a@b.c?subject=x%20y"},
      {"\"a@b.c", "\"a@b.c"},  // one quote alone stays
      {"trailing blanks   ", "trailing%20blanks"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(Escaped(c.in), c.out) << c.in;
}

TEST(MakeEmailURLSafe, GrowthStopsAtTheFieldsWidth) {
  std::string url(4094, 'a');
  url += "; ";  // the blank is clipped; the semicolon grows by two, one of them past the edge
  std::string escaped = Escaped(url);
  EXPECT_EQ(escaped.size(), 4096u);
  EXPECT_EQ(escaped.substr(4090), "aaaa%3");
  // A long body keeps escaping up to the edge and never beyond it.
  EXPECT_EQ(Escaped("x&body=" + std::string(3000, ' ') + "z").size(), 4096u);
}

TEST(GetHTMLString, BuildsAnchorsForWebAndMailAddresses) {
  vrLinkbrightClass link;
  struct Case {
    std::string text;
    std::optional<LONG> options;
    std::string out;
  } cases[] = {
      {"www.example.com", {}, "<a href=\"http://www.example.com\">"},
      {"http://example.com/a", 0, "<a href=\"http://example.com/a\">"},
      {"https://example.com/a", 0, "<a href=\"https://example.com/a\">"},
      {"https://user@example.com/", 0, "<a href=\"https://user@example.com/\">"},
      {"a@b.example", 0, "<a href=\"mailto:a@b.example\">"},
      {"mailto:a@b.example", 0, "<a href=\"mailto:a@b.example\">"},
      {"\"a@b.example\"", 0, "<a href=mailto:\"a@b.example\">"},
      {"<a href=\"x\">  ", 0, "<a href=\"x\">"},
      {"www.example.com", 1, "\"http://www.example.com\""},
      {"a@b.example   ", 7, "mailto:a@b.example"},
  };
  for (const auto& c : cases) EXPECT_EQ(link.GetHTMLString(c.text, c.options), c.out) << c.text;
  EXPECT_EQ(link.GetHTMLString("www." + std::string(2000, 'x'), 2).size(), 1023u);
}

TEST(FormatString, GivesTheTextBetweenTheFirstTwoMarkers) {
  vrLinkbrightClass link;
  struct Case {
    const char* text;
    const char* marker;
    const char* out;
  } cases[] = {
      {"x|abc|y", "|", "abc"}, {"x||y", "|", ""},       {"x|a|y", "|", "a"},   {"|ab|cd|", "|", "ab"},
      {"no marker", "|", ""},  {"one|marker", "|", ""}, {"", "|", ""},         {"[[a]][[b]]", "[[", "[a]]"},
  };
  for (const auto& c : cases) EXPECT_EQ(link.FormatString(c.text, c.marker), c.out) << c.text;
}

TEST(GetListURL, DisplayNameFormOnlyForAnAddressWithAName) {
  vrLinkbrightClass link;
  link.ItemQ = std::make_unique<LinkItemQueue>();
  link.ItemQ->Buffer().Control = 5;
  link.ItemQ->Buffer().Column = 2;
  link.ItemQ->Add();
  struct Case {
    std::string url;
    std::optional<std::string> first, last;
    std::string out;
  } cases[] = {
      {"a@b.example", "Ann  ", {}, "\"Ann <a@b.example>\""},
      {"a@b.example", "Ann", "Lee ", "\"Ann Lee <a@b.example>\""},
      {"a@b.example", "", "Lee", "\"Lee <a@b.example>\""},
      {"a@b.example", "Ann", "  ", "\"Ann <a@b.example>\""},
      {"a@b.example", {}, "Lee", "a@b.example"},
      {"www.example.com", "Ann", {}, "www.example.com"},
  };
  for (const auto& c : cases) {
    link.ItemQ->Buffer().Column = 2;
    EXPECT_EQ(link.GetListURL(5, c.url, c.first, c.last), c.out) << c.url;
    EXPECT_EQ(link.ListURL, c.out);
  }
  link.ItemQ->Buffer().Column = 3;
  EXPECT_EQ(link.GetListURL(5, "a@b.example", "Ann"), "");
  link.ItemQ->Buffer().Column = 0;
  EXPECT_EQ(link.GetListURL(6, "a@b.example", "Ann"), "");
}

TEST(CallForm, InternetCallLinksByFunction) {
  struct Case {
    LONG function;
    const char* out;
  } cases[] = {{0, "echo123"},         {1, "skype:echo123?call"}, {2, "skype:echo123?chat"},
               {3, "skype:echo123?add"}, {4, "skype:echo123?voicemail"}, {5, "skype:echo123?userinfo"},
               {6, "echo123"},           {-1, "echo123"}};
  for (const auto& c : cases) EXPECT_EQ(links::CallForm("echo123  ", c.function), c.out) << c.function;
}

TEST(Disable, EveryOperationAnswersAtOnce) {
  vrLinkbrightClass link;
  link.Disable = 1;
  link.Init(5);
  EXPECT_FALSE(link.ItemQ);
  EXPECT_FALSE(link.TrackerQ);
  EXPECT_EQ(link.Inited, 0);
  EXPECT_EQ(link.HandCursor, 0);
  link.URLToRun = "a b@c";
  link.MakeEmailURLSafe();
  EXPECT_EQ(link.URLToRun, "a b@c");
  EXPECT_EQ(link.GetHTMLString("www.x"), "");
  EXPECT_EQ(link.FormatString("x|a|y", "|"), "");
  EXPECT_EQ(link.RegCheck("www.x"), 0);
  EXPECT_EQ(link.SetActive(1, 0), 0);
  EXPECT_EQ(link.ChangeColumn(1), 0);
  link.Run();  // nothing opens: no handler would record it
}

}  // namespace
