#include "tests/app/json_value.h"

#include <cstdlib>

namespace app_test {
namespace {

const Json kNull;

class Reader {
 public:
  explicit Reader(std::string_view text) : text_(text) {}

  bool Value(Json& out) {
    Skip();
    if (pos_ >= text_.size()) return false;
    char c = text_[pos_];
    if (c == '{') return Object(out);
    if (c == '[') return Array(out);
    if (c == '"') {
      out.type = Json::Type::String;
      return String(out.text);
    }
    if (Word("true")) {
      out.type = Json::Type::Bool;
      out.boolean = true;
      return true;
    }
    if (Word("false")) {
      out.type = Json::Type::Bool;
      return true;
    }
    if (Word("null")) return true;
    char* end = nullptr;
    std::string rest(text_.substr(pos_, 40));
    out.number = std::strtod(rest.c_str(), &end);
    if (end == rest.c_str()) return false;
    out.type = Json::Type::Number;
    pos_ += static_cast<std::size_t>(end - rest.c_str());
    return true;
  }

 private:
  void Skip() {
    while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\n' || text_[pos_] == '\r' || text_[pos_] == '\t')) ++pos_;
  }
  bool Word(std::string_view w) {
    if (text_.substr(pos_, w.size()) != w) return false;
    pos_ += w.size();
    return true;
  }
  bool Take(char c) {
    Skip();
    if (pos_ < text_.size() && text_[pos_] == c) {
      ++pos_;
      return true;
    }
    return false;
  }
  bool String(std::string& out) {
    ++pos_;
    while (pos_ < text_.size() && text_[pos_] != '"') {
      char c = text_[pos_++];
      if (c != '\\') {
        out += c;
        continue;
      }
      if (pos_ >= text_.size()) return false;
      char e = text_[pos_++];
      switch (e) {
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case 't': out += '\t'; break;
        case 'b': out += '\b'; break;
        case 'f': out += '\f'; break;
        case 'u': {
          unsigned code = static_cast<unsigned>(std::strtoul(std::string(text_.substr(pos_, 4)).c_str(), nullptr, 16));
          pos_ += 4;
          if (code < 0x80) {
            out += static_cast<char>(code);
          } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
          } else {
            out += static_cast<char>(0xE0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
          }
          break;
        }
        default: out += e; break;
      }
    }
    if (pos_ >= text_.size()) return false;
    ++pos_;
    return true;
  }
  bool Array(Json& out) {
    out.type = Json::Type::Array;
    ++pos_;
    if (Take(']')) return true;
    do {
      Json item;
      if (!Value(item)) return false;
      out.items.push_back(std::move(item));
    } while (Take(','));
    return Take(']');
  }
  bool Object(Json& out) {
    out.type = Json::Type::Object;
    ++pos_;
    if (Take('}')) return true;
    do {
      Skip();
      std::string key;
      if (pos_ >= text_.size() || text_[pos_] != '"' || !String(key) || !Take(':')) return false;
      Json value;
      if (!Value(value)) return false;
      out.members[key] = std::move(value);
    } while (Take(','));
    return Take('}');
  }

  std::string_view text_;
  std::size_t pos_ = 0;
};

}  // namespace

const Json& Json::operator[](const std::string& key) const {
  auto it = members.find(key);
  return it == members.end() ? kNull : it->second;
}

const Json& Json::operator[](std::size_t index) const { return index < items.size() ? items[index] : kNull; }

Json ParseJson(std::string_view text) {
  Json out;
  Reader reader(text);
  if (!reader.Value(out)) return Json{};
  return out;
}

}  // namespace app_test
