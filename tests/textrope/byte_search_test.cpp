#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "textrope/byte_search.h"

namespace {

using namespace std::string_literals;

std::string Upper(std::string text) {
  for (char& c : text) c = textrope::UpperByte(c);
  return text;
}

// The block search must agree with a plain search everywhere: at block edges, near the end
// of the text, for every needle length, with first bytes common, rare and absent (where
// memchr skips ahead), with the text folded, and when walking from match to match.
TEST(ByteFinder, AgreesWithPlainSearch) {
  std::mt19937 random(3);
  for (int round = 0; round < 1500; ++round) {
    const bool fold = round % 3 == 0;
    // Rounds in threes: short texts, long texts where "c" is rare, long texts without it.
    const std::string alphabet = round % 2 == 0 ? "abAB\0"s : "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaabc"s;
    std::string hay(random() % (round % 4 == 0 ? 80 : 400), '\0');
    for (char& c : hay) c = alphabet[random() % (round % 5 == 0 ? alphabet.size() - 1 : alphabet.size())];
    std::string needle(1 + random() % 5, '\0');
    for (char& c : needle) c = "abcAB\0"[random() % 6];
    if (fold) needle = Upper(needle);
    const std::string plainHay = fold ? Upper(hay) : hay;
    textrope::ByteFinder finder(hay, needle, fold);
    for (std::size_t from = 0; from <= hay.size() + 1; from += 1 + random() % 7) {
      std::size_t expected = from > hay.size() ? std::string::npos : plainHay.find(needle, from);
      ASSERT_EQ(finder.Next(from), expected) << "round " << round << " from " << from;
      if (!fold) {
        ASSERT_EQ(textrope::FindBytes(hay, needle, from), expected);
      }
    }
    const std::size_t advance = 1 + random() % 3;
    std::vector<std::size_t> walked, expected;
    textrope::ByteFinder(hay, needle, fold).Walk(0, advance, [&](std::size_t at) {
      walked.push_back(at);
      return true;
    });
    for (std::size_t at = plainHay.find(needle); at != std::string::npos; at = plainHay.find(needle, at + advance)) {
      expected.push_back(at);
    }
    ASSERT_EQ(walked, expected) << "round " << round;
  }
}

TEST(ByteFinder, FindsEveryMatchOfALongText) {
  std::string hay(1000, '.');
  for (std::size_t i = 5; i + 3 <= hay.size(); i += 37) hay.replace(i, 3, "x.y");
  textrope::ByteFinder finder(hay, "x.y");
  std::size_t count = 0;
  for (std::size_t at = finder.Next(0); at != std::string::npos; at = finder.Next(at + 1)) {
    EXPECT_EQ(at % 37, 5u);
    ++count;
  }
  EXPECT_EQ(count, 27u);
}

}  // namespace
