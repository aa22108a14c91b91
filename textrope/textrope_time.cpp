#include <cstdint>
#include <memory>
#include <string>

#include "textrope/byte_text.h"
#include "textrope/textrope.h"

namespace {

constexpr LONG kHour = 360000;
constexpr LONG kMinute = 6000;
constexpr LONG kSecond = 100;
constexpr LONG kTwelveHours = 4320000;
constexpr std::size_t kFormattedWidth = 15;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// What a time picture such as "@T04.B" asks for.
struct TimePicture {
  int hourZeros = 0;  // 0: hour right-aligned in four blanks; 1-3: two to four digits
  int layout = 1;
  char separator = ':';
  bool blankWhenZero = false;
  bool zeroBased = false;
};

TimePicture ReadPicture(std::string_view picture) {
  TimePicture p;
  std::size_t i = 0;
  auto next = [&](std::size_t ahead = 0) { return i + ahead < picture.size() ? picture[i + ahead] : '\0'; };
  if (next() == '@') ++i;
  if (next() == 'T' || next() == 't') ++i;
  while (p.hourZeros < 3 && next() == '0') {
    ++p.hourZeros;
    ++i;
  }
  if (IsDigit(next()) && IsDigit(next(1))) {
    p.layout = (next() - '0') * 10 + (next(1) - '0');
    i += 2;
  } else if (IsDigit(next())) {
    p.layout = next() - '0';
    ++i;
  }
  switch (next()) {
    case '-': p.separator = '-'; ++i; break;
    case '.': p.separator = '.'; ++i; break;
    case '_': p.separator = ' '; ++i; break;
    case '\'': p.separator = ','; ++i; break;
    default: break;
  }
  if (next() == 'b' || next() == 'B') {
    p.blankWhenZero = true;
    ++i;
  }
  if (next() == 'z' || next() == 'Z') p.zeroBased = true;
  return p;
}

std::string ZeroFilled(LONG number, int digits) {
  std::string text = std::to_string(number);
  if (static_cast<int>(text.size()) < digits) text.insert(0, static_cast<std::size_t>(digits) - text.size(), '0');
  return text;
}

std::string HourField(LONG hour, int zeros) {
  if (zeros > 0) return ZeroFilled(hour, zeros + 1);
  std::string text = std::to_string(hour);
  if (text.size() < 4) text.insert(0, 4 - text.size(), ' ');
  return text;
}

// The plain decimal number a text holds, blanks around it allowed, a fraction dropped;
// anything else reads as 0.
LONG TextToNumber(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  text = textrope::Clipped(text.substr(i));
  bool negative = false;
  i = 0;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  std::int64_t number = 0;
  std::size_t digits = 0;
  for (; i < text.size() && IsDigit(text[i]); ++i, ++digits) {
    if (number <= INT32_MAX) number = number * 10 + (text[i] - '0');
  }
  if (i < text.size() && text[i] == '.') {
    for (++i; i < text.size() && IsDigit(text[i]); ++i) ++digits;
  }
  if (digits == 0 || i != text.size()) return 0;
  if (negative) number = -number;
  if (number > INT32_MAX) return INT32_MAX;
  if (number < INT32_MIN) return INT32_MIN;
  return static_cast<LONG>(number);
}

}  // namespace

std::string Textrope::FormatTime(LONG pValue, std::string_view pFormat) {
  const TimePicture picture = ReadPicture(pFormat);
  LONG h = 0, m = 0, s = 0, c = 0;
  if (pValue > 0) {
    LONG t = picture.zeroBased ? pValue : pValue - 1;
    h = t / kHour;
    m = t % kHour / kMinute;
    s = t % kMinute / kSecond;
    c = t % kSecond;
  }
  std::string text;
  if (!(picture.blankWhenZero && h == 0 && m == 0 && s == 0 && c == 0)) {
    const std::string sep(1, picture.separator);
    const std::string hour = HourField(h, picture.hourZeros);
    const std::string hour12 = HourField(h == 12 ? 12 : h % 12, picture.hourZeros);
    const std::string mm = ZeroFilled(m, 2), ss = ZeroFilled(s, 2), cc = ZeroFilled(c, 2);
    const std::string ap = h < 12 ? "am" : "pm";
    switch (picture.layout) {
      case 1: text = hour + sep + mm; break;
      case 2: text = hour + mm; break;
      case 3: text = hour12 + sep + mm + ap; break;
      case 4: text = hour + sep + mm + sep + ss; break;
      case 5: text = hour + mm + ss; break;
      case 6: text = hour12 + sep + mm + sep + ss + ap; break;
      // The desktop's short and long time: a two-digit 24-hour clock.
      case 7: text = ZeroFilled(h, 2) + sep + mm; break;
      case 8: text = ZeroFilled(h, 2) + sep + mm + sep + ss; break;
      case 91: text = hour + sep + mm + sep + ss + sep + cc; break;
      case 92: text = hour12 + sep + mm + sep + ss + sep + cc + ap; break;
      default: break;
    }
  }
  text.resize(kFormattedWidth, ' ');
  return text;
}

void Textrope::FormatTime(std::string_view pFormat) { SetValue(FormatTime(TextToNumber(value), pFormat), 0); }

void Textrope::DeformatTime() {
  const bool am = Instring("a", 1, 1, 0, 1, 0) != 0;
  const bool pm = !am && Instring("p", 1, 1, 0, 1, 0) != 0;
  SetLeft(0, 1);

  // Digits in runs of at most two: "10:30", "1030" and "10.30" all read as 10 and 30.
  std::string parts[5];
  int part = 0;
  for (char c : value) {
    if (part == 5) break;
    if (IsDigit(c)) {
      parts[part] += c;
      if (parts[part].size() == 2) ++part;
    } else if (!parts[part].empty()) {
      ++part;
    }
  }
  auto number = [&](int i) { return parts[i].empty() ? 0 : std::stoi(parts[i]); };
  LONG time = 0;
  if (!parts[1].empty() || !parts[2].empty() || !parts[3].empty()) {
    LONG hundredths = number(3) == 0 ? 1 : number(3);
    time = number(0) * kHour + number(1) * kMinute + number(2) * kSecond + hundredths;
  } else if (!parts[0].empty()) {
    time = number(0) * kHour + 1;
  }
  // Without a time there is nothing for "am" or "pm" to move.
  if (time > 0) {
    if (pm && time < kTwelveHours) {
      time += kTwelveHours;
    } else if (am && time >= kTwelveHours) {
      time -= kTwelveHours;
    }
  }
  if (time > 0) SetValue(std::to_string(time), 0);
}

std::string Textrope::DeformatTime(std::string_view pValue) {
  auto reader = std::make_unique<Textrope>();
  reader->SetValue(pValue, 0);
  reader->DeformatTime();
  return reader->value;
}

LONG Textrope::IsTime() {
  if (value.empty() || IsAll("0123456789: apm") == 0) return 0;
  return (Instring(":", 1, 1, 0, 0, 0) != 0 || Instring("am", 1, 1, 0, 1, 0) != 0 ||
          Instring("pm", 1, 1, 0, 1, 0) != 0)
             ? 1
             : 0;
}

LONG Textrope::IsTime(std::string_view pValue) {
  auto reader = std::make_unique<Textrope>();
  reader->SetValue(pValue, 0);
  return reader->IsTime();
}
