#include "crash/report/report_pictures.h"

namespace crash {
namespace {

constexpr LONG kUnixEpochDay = 61730;  // 1 January 1970 in TODAY() days

struct CivilDate {
  long year;
  int month;
  int day;
};

// Days since 1 January 1970 to the proleptic Gregorian calendar.
CivilDate FromDays(long days) {
  days += 719468;
  long era = (days >= 0 ? days : days - 146096) / 146097;
  long dayOfEra = days - era * 146097;
  long yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  long mp = (5 * dayOfYear + 2) / 153;
  int day = static_cast<int>(dayOfYear - (153 * mp + 2) / 5 + 1);
  int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  return {yearOfEra + era * 400 + (month <= 2 ? 1 : 0), month, day};
}

void Two(BoundedText<64>& out, long value) {
  out.Append(static_cast<char>('0' + (value / 10) % 10)).Append(static_cast<char>('0' + value % 10));
}

void Four(BoundedText<64>& out, long value) {
  Two(out, (value / 100) % 100);
  Two(out, value % 100);
}

// The picture's number: "@d10" and "D10" give 10; nothing readable gives 0.
int PictureNumber(std::string_view picture, char letter) {
  while (!picture.empty() && picture.back() == ' ') picture.remove_suffix(1);
  if (!picture.empty() && picture.front() == '@') picture.remove_prefix(1);
  if (picture.empty() || (picture.front() | 0x20) != letter) return 0;
  int number = 0;
  for (char c : picture.substr(1)) {
    if (c < '0' || c > '9' || number > 99) return 0;
    number = number * 10 + (c - '0');
  }
  return number;
}

}  // namespace

void AppendTime(BoundedText<64>& out, LONG clock, std::string_view picture) {
  long hundredths = clock > 0 ? clock - 1 : 0;
  long seconds = hundredths / 100;
  Two(out, seconds / 3600 % 24);
  out.Append(':');
  Two(out, seconds / 60 % 60);
  if (PictureNumber(picture, 't') == 1) return;
  out.Append(':');
  Two(out, seconds % 60);
}

void AppendDate(BoundedText<64>& out, LONG today, std::string_view picture) {
  CivilDate d = FromDays(static_cast<long>(today) - kUnixEpochDay);
  switch (PictureNumber(picture, 'd')) {
    case 1: Two(out, d.month); out.Append('/'); Two(out, d.day); out.Append('/'); Two(out, d.year % 100); break;
    case 2: Two(out, d.month); out.Append('/'); Two(out, d.day); out.Append('/'); Four(out, d.year); break;
    case 5: Two(out, d.day); out.Append('/'); Two(out, d.month); out.Append('/'); Two(out, d.year % 100); break;
    case 6: Two(out, d.day); out.Append('/'); Two(out, d.month); out.Append('/'); Four(out, d.year); break;
    case 9: Two(out, d.year % 100); out.Append('/'); Two(out, d.month); out.Append('/'); Two(out, d.day); break;
    case 11: Two(out, d.year % 100); Two(out, d.month); Two(out, d.day); break;
    case 12: Four(out, d.year); Two(out, d.month); Two(out, d.day); break;
    default: Four(out, d.year); out.Append('/'); Two(out, d.month); out.Append('/'); Two(out, d.day); break;
  }
}

}  // namespace crash
