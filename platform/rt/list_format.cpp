#include "platform/rt/list_format.h"

#include <cctype>
#include <cmath>
#include <cstdio>

#include "platform/rt/use.h"

namespace rt {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int ReadNumber(std::string_view text, std::size_t& i) {
  int value = 0;
  while (i < text.size() && IsDigit(text[i]) && value < 100000) value = value * 10 + (text[i++] - '0');
  while (i < text.size() && IsDigit(text[i])) ++i;
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

std::string Group(std::string digits, char separator) {
  if (separator == 0) return digits;
  std::string out;
  int count = 0;
  for (std::size_t i = digits.size(); i-- > 0;) {
    out.insert(out.begin(), digits[i]);
    if (++count % 3 == 0 && i > 0) out.insert(out.begin(), separator);
  }
  return out;
}

std::string FormatNumber(std::string_view value, std::string_view spec) {
  std::size_t i = 0;
  bool blankWhenZero = !spec.empty() && (spec.back() == 'B' || spec.back() == 'b');
  if (blankWhenZero) spec.remove_suffix(1);
  if (i < spec.size() && spec[i] == '-') ++i;  // negative values always show their sign
  char fill = 0;
  if (i < spec.size() && (spec[i] == '0' || spec[i] == '_' || spec[i] == '*')) fill = spec[i++];
  int size = ReadNumber(spec, i);
  char grouping = ',';
  if (i < spec.size() && (spec[i] == '_' || spec[i] == '-' || (spec[i] == '.' && i + 1 < spec.size() && spec[i + 1] == '.'))) {
    grouping = spec[i] == '_' ? 0 : spec[i];
    ++i;
  }
  int places = 0;
  if (i < spec.size() && spec[i] == '.') {
    ++i;
    places = ReadNumber(spec, i);
  }
  if (places > 15) places = 15;
  double number = TextToReal(value);
  if (blankWhenZero && number == 0) return {};
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*f", places, std::fabs(number));
  std::string text = buffer;
  std::string whole = text.substr(0, text.find('.'));
  std::string fraction = places > 0 ? text.substr(text.find('.')) : std::string();
  if (fill == '0' || fill == '*') {
    int wanted = size - static_cast<int>(fraction.size()) - (number < 0 ? 1 : 0);
    while (static_cast<int>(whole.size()) < wanted) whole.insert(whole.begin(), fill);
    grouping = 0;
  }
  std::string out = Group(whole, grouping) + fraction;
  if (number < 0 && std::stod(text) != 0) out.insert(out.begin(), '-');
  return out;
}

}  // namespace

std::vector<ListColumn> ParseListFormat(std::string_view format) {
  std::vector<ListColumn> columns;
  std::size_t i = 0;
  while (i < format.size()) {
    ListColumn column;
    if (!IsDigit(format[i])) break;
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
    columns.push_back(std::move(column));
    if (!ended) break;
  }
  return columns;
}

std::string FormatPicture(std::string_view value, std::string_view picture) {
  if (picture.size() < 2 || picture[0] != '@') return std::string(value);
  char kind = static_cast<char>(std::tolower(static_cast<unsigned char>(picture[1])));
  std::string_view spec = picture.substr(2);
  if (kind == 'n') return FormatNumber(value, spec);
  if (kind == 's') {
    std::size_t i = 0;
    std::size_t length = static_cast<std::size_t>(ReadNumber(spec, i));
    return std::string(value.substr(0, length));
  }
  return std::string(value);
}

}  // namespace rt
