#include "platform/rt/use.h"

#include <cstdio>
#include <cstdlib>

namespace rt {

namespace {
// Leading blanks, an optional sign, digits, an optional fraction; anything else ends the number.
std::string_view NumberPrefix(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  std::size_t start = i;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
  }
  return text.substr(start, i - start);
}
}  // namespace

long long TextToNumber(std::string_view text) {
  double value = TextToReal(text);
  constexpr double kLimit = 9.2e18;
  if (value > kLimit) return static_cast<long long>(kLimit);
  if (value < -kLimit) return static_cast<long long>(-kLimit);
  return static_cast<long long>(value);
}

double TextToReal(std::string_view text) {
  std::string number(NumberPrefix(text));
  if (number.find_first_of("0123456789") == std::string::npos) return 0;
  return std::strtod(number.c_str(), nullptr);
}

std::string Use::Get() const {
  switch (type_) {
    case Type::None: return {};
    case Type::Byte: return std::to_string(*static_cast<BYTE*>(cell_));
    case Type::Short: return std::to_string(*static_cast<SHORT*>(cell_));
    case Type::Long: return std::to_string(*static_cast<LONG*>(cell_));
    case Type::Real: {
      char text[64];
      std::snprintf(text, sizeof text, "%.15g", *static_cast<REAL*>(cell_));
      return text;
    }
    case Type::Text: return *static_cast<std::string*>(cell_);
  }
  return {};
}

void Use::Set(std::string_view text) const {
  auto wrapped = [&] { return static_cast<unsigned long long>(TextToNumber(text)); };
  switch (type_) {
    case Type::None: return;
    case Type::Byte: *static_cast<BYTE*>(cell_) = static_cast<BYTE>(wrapped()); return;
    case Type::Short: *static_cast<SHORT*>(cell_) = static_cast<SHORT>(wrapped()); return;
    case Type::Long: *static_cast<LONG*>(cell_) = static_cast<LONG>(wrapped()); return;
    case Type::Real: *static_cast<REAL*>(cell_) = TextToReal(text); return;
    case Type::Text: *static_cast<std::string*>(cell_) = std::string(text); return;
  }
}

}  // namespace rt
