#include "platform/rt/evaluate.h"

#include <cmath>
#include <cstdio>
#include <optional>

#include "platform/rt/error_code.h"

namespace {

// Long double keeps 64 mantissa bits on x86-64, so every address survives exactly.
using Number = long double;

class Parser {
 public:
  explicit Parser(std::string_view text) : text_(text) {}

  std::optional<Number> Whole() {
    auto value = Sum();
    SkipBlanks();
    if (!value || at_ != text_.size()) return std::nullopt;
    return value;
  }

 private:
  static constexpr int kMaxDepth = 100;

  void SkipBlanks() {
    while (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\t')) ++at_;
  }
  bool Take(char c) {
    SkipBlanks();
    if (at_ < text_.size() && text_[at_] == c) {
      ++at_;
      return true;
    }
    return false;
  }

  // Operands joined left to right by the two operators of one precedence level.
  template <class Operand, class Apply>
  std::optional<Number> Chain(Operand operand, char first, char second, Apply apply) {
    auto value = (this->*operand)();
    while (value) {
      char op = Take(first) ? first : Take(second) ? second : '\0';
      if (op == '\0') break;
      auto right = (this->*operand)();
      if (!right || !apply(op, *value, *right)) return std::nullopt;
    }
    return value;
  }

  std::optional<Number> Sum() {
    return Chain(&Parser::Product, '+', '-', [](char op, Number& left, Number right) {
      left = op == '+' ? left + right : left - right;
      return true;
    });
  }

  std::optional<Number> Product() {
    return Chain(&Parser::Unary, '*', '/', [](char op, Number& left, Number right) {
      if (op == '/' && right == 0) return false;
      left = op == '*' ? left * right : left / right;
      return true;
    });
  }

  std::optional<Number> Unary() {
    SkipBlanks();
    if (at_ == text_.size() || (text_[at_] != '-' && text_[at_] != '+' && text_[at_] != '('))
      return Literal();
    if (++depth_ > kMaxDepth) return std::nullopt;
    std::optional<Number> value;
    char sign = text_[at_++];
    if (sign == '(') {
      value = Sum();
      if (value && !Take(')')) value.reset();
    } else {
      value = Unary();
      if (value && sign == '-') *value = -*value;
    }
    --depth_;
    return value;
  }

  static int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  }

  std::optional<Number> Literal() {
    SkipBlanks();
    if (at_ == text_.size() || HexDigit(text_[at_]) < 0 || HexDigit(text_[at_]) > 9)
      return std::nullopt;
    // A run of hexadecimal digits followed by "h" is hexadecimal; else decimal.
    std::size_t end = at_;
    while (end < text_.size() && HexDigit(text_[end]) >= 0) ++end;
    if (end < text_.size() && (text_[end] == 'h' || text_[end] == 'H')) {
      Number value = 0;
      for (; at_ < end; ++at_) value = value * 16 + HexDigit(text_[at_]);
      ++at_;
      return value;
    }
    Number value = 0;
    for (; at_ < text_.size() && HexDigit(text_[at_]) >= 0 && HexDigit(text_[at_]) <= 9; ++at_)
      value = value * 10 + HexDigit(text_[at_]);
    if (at_ < text_.size() && text_[at_] == '.') {
      ++at_;
      Number scale = 1;
      for (; at_ < text_.size() && HexDigit(text_[at_]) >= 0 && HexDigit(text_[at_]) <= 9; ++at_) {
        scale /= 10;
        value += scale * HexDigit(text_[at_]);
      }
    }
    // "12ab" is neither a decimal nor a hexadecimal number.
    if (at_ < text_.size() && HexDigit(text_[at_]) >= 0) return std::nullopt;
    return value;
  }

  std::string_view text_;
  std::size_t at_ = 0;
  int depth_ = 0;
};

std::string Written(Number value) {
  char text[64];
  constexpr Number kTwo64 = 18446744073709551616.0L;
  Number magnitude = std::fabs(value);
  if (magnitude < kTwo64 && magnitude == std::floor(magnitude)) {
    std::snprintf(text, sizeof text, "%s%llu", value < 0 ? "-" : "",
                  static_cast<unsigned long long>(magnitude));
  } else {
    std::snprintf(text, sizeof text, "%.15Lg", value);
  }
  return text;
}

}  // namespace

std::string EVALUATE(std::string_view expression) {
  auto value = Parser(expression).Whole();
  if (!value || !std::isfinite(*value)) {
    rt::SetErrorCode(ERRORS::IllegalExpression);
    return {};
  }
  rt::SetErrorCode(0);
  return Written(*value);
}
