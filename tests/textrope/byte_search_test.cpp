#include <gtest/gtest.h>

#include <random>
#include <string>

#include "textrope/byte_search.h"

namespace {

// The block search must agree with a plain search everywhere: at block edges, near the
// end of the text, for every needle length, and when walking from match to match.
TEST(ByteFinder, AgreesWithPlainSearch) {
  std::mt19937 random(3);
  for (int round = 0; round < 400; ++round) {
    std::string hay(random() % 80, '\0');
    for (char& c : hay) c = "ab\0"[random() % 3];
    std::string needle(1 + random() % 5, '\0');
    for (char& c : needle) c = "ab\0"[random() % 3];
    textrope::ByteFinder finder(hay, needle);
    for (std::size_t from = 0; from <= hay.size() + 1; from += 1 + random() % 3) {
      std::size_t expected = from > hay.size() ? std::string::npos : hay.find(needle, from);
      ASSERT_EQ(finder.Next(from), expected) << "round " << round << " from " << from;
      ASSERT_EQ(textrope::FindBytes(hay, needle, from), expected);
    }
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
