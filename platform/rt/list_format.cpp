#include "platform/rt/list_format.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "platform/rt/use.h"
#include "platform/win/system/ascii_text.h"

namespace rt {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Digits as a number, at most 99999 (wider values are nonsense here, and must not overflow).
int ReadNumber(std::string_view text, std::size_t& i) {
  int value = 0;
  for (; i < text.size() && IsDigit(text[i]); ++i) value = std::min(value * 10 + (text[i] - '0'), 99999);
  return value;
}

// "(n)" after an alignment letter.
int ReadIndent(std::string_view text, std::size_t& i) {
  if (i >= text.size() || text[i] != '(') return 0;
  ++i;
  int sign = 1;
  if (i < text.size() && text[i] == '-') {
    sign = -1;
    ++i;
  }
  int value = ReadNumber(text, i);
  if (i < text.size() && text[i] == ')') ++i;
  return sign * value;
}

bool IsAlign(char c) { return c == 'L' || c == 'R' || c == 'C' || c == 'D'; }

std::string Grouped(std::string digits) {
  for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3) digits.insert(static_cast<std::size_t>(at), ",");
  return digits;
}

std::string FormatNumber(std::string_view value, std::string_view layout) {
  std::size_t i = 0;
  bool blankWhenZero = !layout.empty() && (layout.back() == 'B' || layout.back() == 'b');
  if (blankWhenZero) layout.remove_suffix(1);
  if (i < layout.size() && layout[i] == '-') ++i;  // negative values always show their sign
  // A fill letter ("_" blanks, "0" zeros) turns the thousands separator off.
  char fill = 0;
  if (i < layout.size() && (layout[i] == '0' || layout[i] == '_')) fill = layout[i++];
  int size = ReadNumber(layout, i);
  int places = 0;
  if (i < layout.size() && layout[i] == '.') {
    ++i;
    places = std::min(ReadNumber(layout, i), 9);
  }
  double number = TextToReal(value);
  if (blankWhenZero && number == 0) return {};
  if (std::fabs(number) >= 1e15) return std::string(static_cast<std::size_t>(std::max(size, 1)), '#');
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*f", places, std::fabs(number));
  std::string text = buffer;
  bool negative = number < 0 && text.find_first_not_of("0.") != std::string::npos;
  std::size_t point = text.find('.');
  std::string whole = text.substr(0, point);
  std::string fraction = point == std::string::npos ? std::string() : text.substr(point);
  if (fill == 0) whole = Grouped(whole);
  std::string out = whole + fraction;
  if (fill == '0') {
    // A picture without a width ("@n0") has nothing to fill, even for a sign.
    const std::size_t wanted = static_cast<std::size_t>(std::max(size - (negative ? 1 : 0), 0));
    if (out.size() < wanted) out.insert(0, wanted - out.size(), '0');
  }
  if (negative) out.insert(out.begin(), '-');
  // A number wider than its picture would mislead if cut: it shows as "#"s.
  if (size > 0 && out.size() > static_cast<std::size_t>(size)) return std::string(static_cast<std::size_t>(size), '#');
  return out;
}

// Cuts UTF-8 text to at most `size` bytes without splitting a character.
std::string CutText(std::string_view value, std::size_t size) {
  if (value.size() <= size) return std::string(value);
  while (size > 0 && (static_cast<unsigned char>(value[size]) & 0xC0) == 0x80) --size;
  return std::string(value.substr(0, size));
}

}  // namespace

std::vector<ListColumn> ParseListFormat(std::string_view format) {
  std::vector<ListColumn> columns;
  std::size_t i = 0;
  while (i < format.size()) {
    ListColumn column;
    if (!IsDigit(format[i])) break;
    const std::size_t start = i;
    column.width = ReadNumber(format, i);
    if (i < format.size() && IsAlign(format[i])) column.align = format[i++];
    column.indent = ReadIndent(format, i);
    column.headerAlign = column.align;
    bool ended = false;
    while (i < format.size() && !ended) {
      char c = format[i];
      if (c == '|') {
        column.rightBorder = true;
        ++i;
      } else if (c == 'M') {
        column.resizable = true;
        ++i;
      } else if (c == '^') {
        column.movable = true;
        ++i;
      } else if (c == '~') {
        std::size_t close = format.find('~', i + 1);
        if (close == std::string_view::npos) return columns;
        column.header = std::string(format.substr(i + 1, close - i - 1));
        i = close + 1;
        if (i < format.size() && IsAlign(format[i])) {
          column.headerAlign = format[i++];
          column.headerIndent = ReadIndent(format, i);
        }
      } else if (c == '@') {
        std::size_t close = format.find('@', i + 1);
        if (close == std::string_view::npos) return columns;
        column.picture = std::string(format.substr(i, close - i));
        i = close + 1;
        ended = true;
      } else {
        ++i;  // flags we do not show (fixed, colours, styles)
      }
    }
    column.text = std::string(format.substr(start, i - start));
    columns.push_back(std::move(column));
    if (!ended) break;
  }
  return columns;
}

std::string JoinListFormat(const std::vector<ListColumn>& columns) {
  std::string format;
  for (const ListColumn& column : columns) format += column.text;
  return format;
}

std::string FormatPicture(std::string_view value, std::string_view picture) {
  if (picture.size() < 2 || picture[0] != '@') return std::string(value);
  char kind = win::LowerByte(picture[1]);
  std::string_view layout = picture.substr(2);
  if (kind == 'n') return FormatNumber(value, layout);
  if (kind == 's') {
    std::size_t i = 0;
    return CutText(value, static_cast<std::size_t>(ReadNumber(layout, i)));
  }
  return std::string(value);
}

}  // namespace rt
