#include <gtest/gtest.h>

#include <string>

#include "crash/mail/mail_text.h"
#include "toolkit/win_version.h"

namespace {

TEST(MailLimit, FollowsTheEditionAtTheStartOfTheVersionText) {
  struct Case {
    const char* version;
    LONG limit;
  } cases[] = {
      {"Win 3.1 3.10.0 ", 438},
      {"Win 95  - 4.0.950 ", 438},
      {"Win 98  - 4.10.2222 A", 438},
      {"Win NT  - 4.0.1381 Service Pack 6", 227},
      {"Win NT", 227},
      {"Win XP  - 5.1.2600 Service Pack 3", 2007},
      {"Win 7   - 6.1.7601 Service Pack 1", 2007},
      {"Win 9", 2007},
      {"Linux 6.1.0 -13-amd64", 2007},
      {"", 2007},
  };
  for (const auto& c : cases) EXPECT_EQ(crash::MaxEmailLenFor(c.version), c.limit) << c.version;
  EXPECT_EQ(crash::MaxEmailLenFor(kx_GetWinVersion()), 2007);
}

TEST(EncodeEmail, EscapesWhatWouldChangeTheLinkAndKeepsTheRest) {
  struct Case {
    const char* text;
    const char* encoded;
  } cases[] = {
      {"", ""},
      {"a\r\nb", "a%0D%0Ab"},
      {"x\ty", "x%09y"},
      {"say \"hi\"", "say %22hi%22"},
      {"a&b", "a%26b"},
      {"&Body=x", "&Body=x"},
      {"&body", "%26body"},
      {"&Bod", "%26Bod"},
      {"&", "%26"},
      {"100%", "100%25"},
      {"%41", "%2541"},
      {"%0D%0A", "%250D%250A"},
      {"#1", "%231"},
      {"Thread : 1 \tField : 0, (x) +y; <z> ?q=1", "Thread : 1 %09Field : 0, (x) +y; <z> ?q=1"},
  };
  for (const auto& c : cases) EXPECT_EQ(crash::EncodeEmail(c.text), c.encoded) << c.text;
}

TEST(EncodeEmail, KeepsToItsWidthWithoutCuttingAnEscape) {
  const std::size_t width = crash::kMailBodyWidth;
  struct Case {
    std::string text;
    std::string encoded;
  } cases[] = {
      {std::string(width, 'a'), std::string(width, 'a')},
      {std::string(width + 5000, 'a'), std::string(width, 'a')},
      {std::string(width - 1, 'a') + "\r", std::string(width - 1, 'a')},
      {std::string(width - 3, 'a') + "\r\n", std::string(width - 3, 'a') + "%0D"},
      {std::string(width - 4, 'a') + "##", std::string(width - 4, 'a') + "%23"},
  };
  for (const auto& c : cases) EXPECT_EQ(crash::EncodeEmail(c.text), c.encoded) << c.text.size();
}

TEST(FindFirstBreak, LastBreakEndingWithinTheLimit) {
  struct Case {
    const char* text;
    LONG maxLen;
    LONG position;
  } cases[] = {
      {"abc%0D%0Adef", 9, 4},
      {"abc%0D%0Adef", 100, 4},
      {"abc%0D%0Adef", 8, 0},
      {"%0D%0Ax%0D%0A", 13, 8},
      {"%0D%0Ax%0D%0A", 12, 1},
      {"%0D%0A", 6, 1},
      {"%0D%0A", 5, 0},
      {"%0D%0A", 0, 0},
      {"%0D%0A", -7, 0},
      {"", 50, 0},
      {"%250D%250A", 50, 0},
      {"a%0Db%0A", 50, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(crash::FindFirstBreak(c.text, c.maxLen), c.position) << c.text << " " << c.maxLen;
}

TEST(MailtoField, EncodesEverythingButPlainAddressCharacters) {
  struct Case {
    const char* text;
    const char* field;
  } cases[] = {
      {"", ""},
      {"dev@boxwright.example", "dev@boxwright.example"},
      {"The developer <dev@x.org>", "The%20developer%20%3Cdev@x.org%3E"},
      {"\"Dev, Team\" <a_b-c~d@x.org>", "%22Dev%2C%20Team%22%20%3Ca_b-c~d@x.org%3E"},
      {"GPF in a?b&c=d#e%f+g", "GPF%20in%20a%3Fb%26c%3Dd%23e%25f%2Bg"},
      {"Caf\xC3\xA9 [PART 2]", "Caf%C3%A9%20%5BPART%202%5D"},
  };
  for (const auto& c : cases) EXPECT_EQ(crash::MailtoField(c.text), c.field) << c.text;
}

}  // namespace
