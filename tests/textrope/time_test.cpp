#include <gtest/gtest.h>

#include <string>

#include "tests/textrope/support.h"
#include "textrope/textrope.h"

namespace {

// Time numbers count hundredths from 1 at midnight.
constexpr LONG At(LONG h, LONG m, LONG s = 0, LONG c = 0) { return h * 360000 + m * 6000 + s * 100 + c + 1; }

std::string Padded(std::string text) {
  text.resize(15, ' ');
  return text;
}

TEST(TextropeTime, EveryPictureGivesFifteenCharacters) {
  struct Case {
    LONG time;
    const char *picture, *expected;
  } cases[] = {
      {1, "T4", "   0:00:00"},
      {1, "@T4", "   0:00:00"},
      {1, "T04", "00:00:00"},
      {1, "T4B", ""},
      {0, "T4b", ""},
      {0, "T4", "   0:00:00"},
      {At(12, 30), "T3", "  12:30pm"},
      {At(1, 0), "T3", "   1:00am"},
      {At(0, 5), "T3", "   0:05am"},
      {At(24, 0), "T3", "   0:00pm"},
      {At(10, 30), "T1", "  10:30"},
      {At(10, 30), "t1", "  10:30"},
      {At(10, 30), "", "  10:30"},
      {At(10, 30), "T1.", "  10.30"},
      {At(10, 30), "T1_", "  10 30"},
      {At(10, 30), "T1'", "  10,30"},
      {At(10, 30), "T1-", "  10-30"},
      {At(10, 30), "T2", "  1030"},
      {At(10, 30) - 1, "T1Z", "  10:30"},
      {At(10, 30) - 1, "TZ4", "  10:30"},  // the layout is read before the flags only
      {At(1, 0), "T0", "01:00"},
      {At(10, 30, 15), "T004", "010:30:15"},
      {At(10, 30, 15), "T0004", "0010:30:15"},
      {At(10, 30, 15), "T5", "  103015"},
      {At(10, 30, 15), "T6", "  10:30:15am"},
      {At(0, 30, 15), "T6", "   0:30:15am"},
      {At(9, 5), "T7", "09:05"},
      {At(9, 5, 7), "T8.", "09.05.07"},
      {At(10, 30, 15, 49), "T91", "  10:30:15:49"},
      {At(13, 5, 7, 8), "T92", "   1:05:07:08pm"},
      {At(13, 5, 7, 8), "T0092", "001:05:07:08pm"},
      {At(0, 0, 0, 8), "T92", "   0:00:00:08am"},
      {At(10, 30), "T9", ""},
      {At(10, 30), "T10", ""},
      {At(10, 30), "T99", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Textrope().FormatTime(c.time, c.picture), Padded(c.expected)) << c.time << " as '" << c.picture << "'";
  }
}

TEST(TextropeTime, FormatTheValue) {
  struct Case {
    const char *value, *expected;
  } cases[] = {
      {"3780001", "  10:30"}, {" 3780001.9 ", "  10:30"}, {"abc", "   0:00"}, {"-5", "   0:00"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Edited(c.value, [](Textrope& t) { t.FormatTime("T1"); }), Padded(c.expected)) << c.value;
  }
}

TEST(TextropeTime, DeformatReadsFreeFormTimes) {
  struct Case {
    const char *text, *expected;
  } cases[] = {
      {"10:30", "3780001"},
      {"1:30 pm", "4860001"},
      {"12:15am", "90001"},
      {"12:15 PM", "4410001"},
      {"1030", "3780001"},
      {"10:30:15:50", "3781550"},
      {"10:30:15:00", "3781501"},
      {"10.30.15.50.99", "3781550"},
      {"7", "2520001"},
      {"  7pm", "6840001"},
      {"Sat 5pm", "1800001"},   // the "a" of "Sat" makes it a morning
      {"  none", "none  "},     // left-justified, same length
      {"   up", "up   "},        // no digits: "p" moves no time
      {"", ""},
  };
  for (const auto& c : cases) {
    Textrope t;
    t.SetValue(c.text);
    t.DeformatTime();
    EXPECT_EQ(t.value, c.expected) << "'" << c.text << "'";
    Textrope other;
    other.SetValue("keep");
    EXPECT_EQ(other.DeformatTime(c.text), c.expected);
    EXPECT_EQ(other.value, "keep");
  }
}

TEST(TextropeTime, IsTime) {
  struct Case {
    const char* text;
    LONG expected;
  } cases[] = {
      {"10:30 AM", 0}, {"10:30", 1}, {"am", 1}, {"1030", 0}, {"", 0},
      {"9 pm", 1},     {"10:30pm", 1}, {"10.30", 0}, {"ma", 0},
  };
  for (const auto& c : cases) {
    Textrope t;
    t.SetValue("keep");
    EXPECT_EQ(t.IsTime(c.text), c.expected) << "'" << c.text << "'";
    EXPECT_EQ(t.value, "keep");
    t.SetValue(c.text);
    EXPECT_EQ(t.IsTime(), c.expected) << "'" << c.text << "'";
  }
}

}  // namespace
