#include "platform/framework/ini_document.h"

#include <algorithm>

namespace {

constexpr std::string_view kBlanks = " \t";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string_view Trim(std::string_view s) {
  size_t first = s.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  size_t last = s.find_last_not_of(kBlanks);
  return s.substr(first, last - first + 1);
}

bool HasControlBytes(std::string_view s) {
  return std::any_of(s.begin(), s.end(), [](char c) {
    auto b = static_cast<unsigned char>(c);
    return (b < 0x20 && b != '\t') || b == 0x7F;
  });
}

bool SameName(std::string_view a, std::string_view b) {
  auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [&](char x, char y) { return lower(x) == lower(y); });
}

bool IsQuote(char c) { return c == '"' || c == '\''; }

bool QuotedPair(std::string_view v) { return v.size() >= 2 && IsQuote(v.front()) && v.front() == v.back(); }

// A value that reading would trim or unquote is written inside double quotes.
std::string EncodeValue(std::string_view value) {
  bool needsQuotes = !value.empty() && (Trim(value).size() != value.size() || QuotedPair(value));
  if (!needsQuotes) return std::string(value);
  return "\"" + std::string(value) + "\"";
}

bool ValidSectionName(std::string_view s) {
  return !s.empty() && Trim(s) == s && s.find(']') == std::string_view::npos && !HasControlBytes(s);
}

bool ValidKeyName(std::string_view k) {
  return !k.empty() && Trim(k) == k && k.find('=') == std::string_view::npos && k.front() != '[' &&
         k.front() != ';' && k.front() != '#' && !HasControlBytes(k);
}

}  // namespace

IniDocument::IniDocument(std::string_view text) {
  size_t pos = 0;
  while (pos < text.size()) {
    size_t stop = text.find_first_of("\r\n", pos);
    std::string end;
    if (stop == std::string_view::npos) {
      stop = text.size();
    } else if (text[stop] == '\r' && stop + 1 < text.size() && text[stop + 1] == '\n') {
      end = "\r\n";
    } else {
      end = std::string(1, text[stop]);
    }
    if (!end.empty() && lines_.empty()) newline_ = end;
    lines_.push_back(Parse(std::string(text.substr(pos, stop - pos)), end, lines_.empty()));
    pos = stop + end.size();
  }
}

IniDocument::Line IniDocument::Parse(std::string text, std::string end, bool first) {
  Line line;
  line.text = std::move(text);
  line.end = std::move(end);
  std::string_view body = line.text;
  if (first && body.starts_with(kByteOrderMark)) body.remove_prefix(kByteOrderMark.size());
  if (HasControlBytes(body)) return line;
  body = Trim(body);
  if (body.empty()) {
    line.kind = Kind::Blank;
  } else if (body.front() == '[') {
    size_t close = body.find(']');
    if (close == std::string_view::npos) return line;
    line.kind = Kind::Section;
    line.name = Trim(body.substr(1, close - 1));
  } else if (body.front() != ';' && body.front() != '#') {
    size_t eq = body.find('=');
    if (eq == std::string_view::npos) return line;
    std::string_view name = Trim(body.substr(0, eq));
    if (name.empty()) return line;
    std::string_view value = Trim(body.substr(eq + 1));
    if (QuotedPair(value)) value = value.substr(1, value.size() - 2);
    line.kind = Kind::Key;
    line.name = name;
    line.value = value;
  }
  return line;
}

std::optional<size_t> IniDocument::FindSection(std::string_view section) const {
  for (size_t i = 0; i < lines_.size(); ++i) {
    if (lines_[i].kind == Kind::Section && SameName(lines_[i].name, section)) return i;
  }
  return std::nullopt;
}

std::optional<std::string> IniDocument::Get(std::string_view section, std::string_view key) const {
  std::optional<size_t> header = FindSection(section);
  if (!header) return std::nullopt;
  for (size_t i = *header + 1; i < lines_.size() && lines_[i].kind != Kind::Section; ++i) {
    if (lines_[i].kind == Kind::Key && SameName(lines_[i].name, key)) return lines_[i].value;
  }
  return std::nullopt;
}

void IniDocument::Insert(size_t at, std::string text) {
  // The line before may have been the file's last one, without a line end of its own.
  if (at > 0 && lines_[at - 1].end.empty()) lines_[at - 1].end = newline_;
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), Parse(std::move(text), newline_, at == 0));
}

bool IniDocument::Set(std::string_view section, std::string_view key, std::string_view value) {
  if (!ValidSectionName(section) || !ValidKeyName(key) || HasControlBytes(value)) return false;
  std::string encoded = EncodeValue(value);

  std::optional<size_t> header = FindSection(section);
  if (!header) {
    if (!lines_.empty() && lines_.back().kind != Kind::Blank) Insert(lines_.size(), "");
    Insert(lines_.size(), "[" + std::string(section) + "]");
    Insert(lines_.size(), std::string(key) + "=" + encoded);
    return true;
  }
  size_t insertAt = *header + 1;
  for (size_t i = *header + 1; i < lines_.size() && lines_[i].kind != Kind::Section; ++i) {
    if (lines_[i].kind != Kind::Key) continue;
    if (SameName(lines_[i].name, key)) {
      // Keep the file's own spelling of the key.
      lines_[i] = Parse(lines_[i].name + "=" + encoded, lines_[i].end, i == 0);
      return true;
    }
    insertAt = i + 1;
  }
  Insert(insertAt, std::string(key) + "=" + encoded);
  return true;
}

std::string IniDocument::Text() const {
  std::string text;
  for (const Line& line : lines_) text += line.text + line.end;
  return text;
}
