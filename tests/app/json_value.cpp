#include "tests/app/json_value.h"

#include <cstdlib>

namespace app_test {
namespace {

const Json kNull;

// Reads one value, moving past it; false on anything that is not JSON.
class Reader {
 public:
  explicit Reader(std::string_view text) : text_(text) {}

  bool Value(Json& out) {
    Skip();
    if (Take('{')) return Members(out);
    if (Take('[')) return Items(out);
    if (Take('"')) return String(out.text);
    if (Word("true") || Word("false")) {
      out.boolean = text_.substr(at_ - 4, 4) == "true";
      return true;
    }
    if (Word("null")) return true;
    const std::string rest(text_.substr(at_, 40));
    char* end = nullptr;
    out.number = std::strtod(rest.c_str(), &end);
    at_ += static_cast<std::size_t>(end - rest.c_str());
    return end != rest.c_str();
  }

 private:
  void Skip() {
    while (at_ < text_.size() && std::string_view(" \t\r\n").find(text_[at_]) != std::string_view::npos) ++at_;
  }
  bool Take(char c) {
    Skip();
    if (at_ >= text_.size() || text_[at_] != c) return false;
    ++at_;
    return true;
  }
  bool Word(std::string_view word) {
    if (text_.substr(at_, word.size()) != word) return false;
    at_ += word.size();
    return true;
  }
  // After the opening quote. A \u escape stands for a control character or for a byte that
  // is not UTF-8, and is read back as that byte.
  bool String(std::string& out) {
    while (at_ < text_.size() && text_[at_] != '"') {
      char c = text_[at_++];
      if (c == '\\' && at_ < text_.size()) {
        c = text_[at_++];
        if (c == 'u') {
          c = static_cast<char>(std::strtoul(std::string(text_.substr(at_, 4)).c_str(), nullptr, 16));
          at_ += 4;
        } else if (std::string_view("nrtbf").find(c) != std::string_view::npos) {
          c = "\n\r\t\b\f"[std::string_view("nrtbf").find(c)];
        }
      }
      out += c;
    }
    return Take('"');
  }
  bool Items(Json& out) {
    if (Take(']')) return true;
    do {
      if (!Value(out.items.emplace_back())) return false;
    } while (Take(','));
    return Take(']');
  }
  bool Members(Json& out) {
    if (Take('}')) return true;
    do {
      std::string key;
      if (!Take('"') || !String(key) || !Take(':') || !Value(out.members[key])) return false;
    } while (Take(','));
    return Take('}');
  }

  std::string_view text_;
  std::size_t at_ = 0;
};

}  // namespace

const Json& Json::operator[](const std::string& key) const {
  auto it = members.find(key);
  return it == members.end() ? kNull : it->second;
}

const Json& Json::operator[](std::size_t index) const { return index < items.size() ? items[index] : kNull; }

Json ParseJson(std::string_view text) {
  Json out;
  return Reader(text).Value(out) ? out : Json{};
}

}  // namespace app_test
