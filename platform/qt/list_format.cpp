#include "platform/qt/list_format.h"

#include <charconv>
#include <cmath>

namespace qtscreen {
namespace {

constexpr int kMaxNumber = 99999;  // widths, indents and sizes beyond this are typing errors

// A cursor over the format string that remembers where it failed.
class Reader {
 public:
  explicit Reader(std::string_view text) : text_(text) {}

  bool AtEnd() const { return pos_ >= text_.size(); }
  char Peek() const { return AtEnd() ? '\0' : text_[pos_]; }
  std::size_t Position() const { return pos_; }
  bool Take(char c) {
    if (Peek() != c || AtEnd()) return false;
    ++pos_;
    return true;
  }
  std::optional<int> Number() {
    std::size_t start = pos_;
    long value = 0;
    while (!AtEnd() && text_[pos_] >= '0' && text_[pos_] <= '9') {
      value = value * 10 + (text_[pos_] - '0');
      if (value > kMaxNumber) return std::nullopt;
      ++pos_;
    }
    if (pos_ == start) return std::nullopt;
    return static_cast<int>(value);
  }
  // The text up to the next `end`, which is consumed; nullopt when `end` never comes.
  std::optional<std::string_view> Until(char end) {
    std::size_t stop = text_.find(end, pos_);
    if (stop == std::string_view::npos) return std::nullopt;
    std::string_view part = text_.substr(pos_, stop - pos_);
    pos_ = stop + 1;
    return part;
  }

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
};

std::optional<Alignment> AlignmentOf(char c) {
  switch (c) {
    case 'L': return Alignment::Left;
    case 'R': return Alignment::Right;
    case 'C': return Alignment::Centre;
    default: return std::nullopt;
  }
}

// An alignment letter and its optional "(indent)".
bool ReadAlignment(Reader& in, Alignment& alignment, int& indent) {
  std::optional<Alignment> a = AlignmentOf(in.Peek());
  if (!a) return false;
  in.Take(in.Peek());
  alignment = *a;
  indent = 0;
  if (in.Take('(')) {
    std::optional<int> n = in.Number();
    if (!n || !in.Take(')')) return false;
    indent = *n;
  }
  return true;
}

std::optional<std::string> ReadColumn(Reader& in, ColumnFormat& column) {
  std::optional<int> width = in.Number();
  if (!width) return "a column starts with its width";
  column.width = *width;
  if (!ReadAlignment(in, column.alignment, column.indent)) return "the width needs an alignment L, R or C";
  for (;;) {
    if (in.Take('|')) column.rightBorder = true;
    else if (in.Take('M')) column.resizable = true;
    else break;
  }
  column.headerAlignment = column.alignment;
  column.headerIndent = column.indent;
  if (in.Take('~')) {
    std::optional<std::string_view> header = in.Until('~');
    if (!header) return "the header text has no closing \"~\"";
    column.header = std::string(*header);
    if (AlignmentOf(in.Peek()) && !ReadAlignment(in, column.headerAlignment, column.headerIndent))
      return "the header alignment is malformed";
  }
  if (!in.Take('@')) return "a column needs its picture between \"@\"";
  std::optional<std::string_view> text = in.Until('@');
  if (!text) return "the picture has no closing \"@\"";
  std::optional<Picture> picture = ParsePicture(*text);
  if (!picture) return "unknown picture \"@" + std::string(*text) + "@\"";
  column.picture = *picture;
  return std::nullopt;
}

// The leading number of a field's text, as the runtime converts it: blanks skipped, the
// longest numeric prefix taken, nothing numeric gives zero.
double NumberOf(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  double value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return std::isfinite(value) ? value : 0;
}

std::string Grouped(std::string digits) {
  for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3) digits.insert(static_cast<std::size_t>(at), ",");
  return digits;
}

std::string FormatNumber(const Picture& picture, std::string_view value) {
  const double rounded = std::round(NumberOf(value));
  const std::size_t size = static_cast<std::size_t>(picture.size);
  if (rounded == 0 && picture.blankWhenZero) return std::string(size, ' ');
  if (std::fabs(rounded) >= 1e15) return std::string(size, '#');
  const long long whole = static_cast<long long>(std::fabs(rounded));
  std::string digits = std::to_string(whole);
  if (picture.grouped) digits = Grouped(digits);
  const bool negative = rounded < 0;
  const std::size_t used = digits.size() + (negative ? 1 : 0);
  if (used > size) return std::string(size, '#');
  std::string padding(size - used, picture.fill);
  if (picture.fill == '0') return (negative ? "-" : "") + padding + digits;
  return padding + (negative ? "-" : "") + digits;
}

// Cuts UTF-8 text to at most `size` bytes without splitting a character.
std::string FormatString(const Picture& picture, std::string_view value) {
  std::size_t size = static_cast<std::size_t>(picture.size);
  if (value.size() <= size) return std::string(value);
  while (size > 0 && (static_cast<unsigned char>(value[size]) & 0xC0) == 0x80) --size;
  return std::string(value.substr(0, size));
}

}  // namespace

std::optional<Picture> ParsePicture(std::string_view text) {
  if (text.empty()) return std::nullopt;
  Picture picture;
  const char kind = text.front();
  text.remove_prefix(1);
  if (kind == 's' || kind == 'S') {
    picture.kind = Picture::Kind::String;
  } else if (kind == 'n' || kind == 'N') {
    picture.kind = Picture::Kind::Number;
    picture.grouped = true;  // until a fill letter says otherwise
    if (!text.empty() && (text.front() == '_' || text.front() == '0')) {
      picture.fill = text.front() == '_' ? ' ' : '0';
      picture.grouped = false;
      text.remove_prefix(1);
    }
    if (!text.empty() && text.back() == 'B') {
      picture.blankWhenZero = true;
      text.remove_suffix(1);
    }
  } else {
    return std::nullopt;
  }
  int size = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), size);
  if (ec != std::errc() || end != text.data() + text.size() || size <= 0 || size > kMaxNumber) return std::nullopt;
  picture.size = size;
  return picture;
}

ListFormat ParseListFormat(std::string_view format) {
  ListFormat result;
  Reader in(format);
  while (!in.AtEnd()) {
    ColumnFormat column;
    if (std::optional<std::string> fault = ReadColumn(in, column)) {
      result.error = ListFormatError{in.Position(), *fault};
      break;
    }
    result.columns.push_back(std::move(column));
  }
  return result;
}

std::string FormatCell(const Picture& picture, std::string_view value) {
  return picture.kind == Picture::Kind::Number ? FormatNumber(picture, value) : FormatString(picture, value);
}

}  // namespace qtscreen
