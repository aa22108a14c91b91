#include "textrope/typed_variables.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "textrope/byte_text.h"

namespace {

constexpr int kMaxDigits = 31;
constexpr int kNegative = 0xF;

template <class... F>
struct Overloaded : F... {
  using F::operator()...;
};
template <class... F>
Overloaded(F...) -> Overloaded<F...>;

// Truncates toward zero into Int; beyond its range, or NaN, gives its most negative value,
// as the processor's own conversion does (and without the undefined C++ conversion).
template <class Int>
Int TruncateOrLowest(double value) {
  constexpr double kLimit = -static_cast<double>(std::numeric_limits<Int>::min());  // 2^(bits-1)
  const double whole = std::trunc(value);
  if (!(whole >= -kLimit && whole < kLimit)) return std::numeric_limits<Int>::min();
  return static_cast<Int>(whole);
}

// The shortest text that reads back as the same number.
template <class Real>
std::string RealText(Real value) {
  char buffer[64];
  auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
  return error == std::errc() ? std::string(buffer, end) : std::string("0");
}

// The number a text starts with, after leading blanks; 0 when it starts with none.
double TextNumber(std::string_view text) {
  std::size_t start = text.find_first_not_of(' ');
  if (start == std::string_view::npos) return 0;
  text.remove_prefix(start);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  double value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  (void)end;
  return error == std::errc() ? value : 0;
}

void SetFixedText(std::string& target, std::string_view text) {
  const std::size_t copied = std::min(text.size(), target.size());
  std::copy_n(text.begin(), copied, target.begin());
  std::fill(target.begin() + static_cast<std::ptrdiff_t>(copied), target.end(), ' ');
}

}  // namespace

// ---- DECIMAL ----

DECIMAL::DECIMAL(int digits, int places, double value)
    : digits_(std::clamp(digits, 1, kMaxDigits)),
      places_(std::clamp(places, 0, digits_)),
      storage_(static_cast<std::size_t>(digits_ / 2 + 1), 0) {
  SetReal(value);
}

int DECIMAL::Nibble(std::size_t n) const {
  BYTE byte = storage_[n / 2];
  return n % 2 == 0 ? byte >> 4 : byte & 0x0F;
}

void DECIMAL::SetNibble(std::size_t n, int value) {
  BYTE& byte = storage_[n / 2];
  byte = n % 2 == 0 ? static_cast<BYTE>((byte & 0x0F) | (value << 4)) : static_cast<BYTE>((byte & 0xF0) | value);
}

std::string DECIMAL::Text() const {
  const std::size_t nibbles = storage_.size() * 2;
  const std::size_t first = nibbles - static_cast<std::size_t>(digits_);
  std::string digits;
  for (std::size_t n = first; n < nibbles; ++n) digits += static_cast<char>('0' + std::min(Nibble(n), 9));
  std::string_view whole = std::string_view(digits).substr(0, digits.size() - static_cast<std::size_t>(places_));
  whole.remove_prefix(std::min(whole.find_first_not_of('0'), whole.size()));
  std::string text;
  const bool zero = digits.find_first_not_of('0') == std::string::npos;
  if (Nibble(0) == kNegative && !zero) text += '-';
  if (whole.empty()) {
    text += '0';
  } else {
    text.append(whole);
  }
  if (places_ > 0) text.append(1, '.').append(digits, digits.size() - static_cast<std::size_t>(places_));
  return text;
}

double DECIMAL::Real() const { return TextNumber(Text()); }

void DECIMAL::SetReal(double value) {
  std::fill(storage_.begin(), storage_.end(), 0);
  if (std::isnan(value)) return;
  const int wholeDigits = digits_ - places_;
  std::string digits;
  char buffer[400];
  int length = std::snprintf(buffer, sizeof buffer, "%.*f", places_, std::fabs(value));
  std::string_view text(buffer, length > 0 && length < static_cast<int>(sizeof buffer) ? length : 0);
  const std::size_t point = std::min(text.find('.'), text.size());
  std::string_view whole = text.substr(0, point);
  whole.remove_prefix(std::min(whole.find_first_not_of('0'), whole.size()));
  if (std::isinf(value) || text.empty() || whole.size() > static_cast<std::size_t>(wholeDigits)) {
    digits.assign(static_cast<std::size_t>(digits_), '9');
  } else {
    digits.assign(static_cast<std::size_t>(wholeDigits) - whole.size(), '0');
    digits.append(whole);
    if (point < text.size()) digits.append(text.substr(point + 1));
  }
  const std::size_t nibbles = storage_.size() * 2;
  const std::size_t first = nibbles - digits.size();
  for (std::size_t i = 0; i < digits.size(); ++i) SetNibble(first + i, digits[i] - '0');
  if (value < 0 && digits.find_first_not_of('0') != std::string::npos) SetNibble(0, kNegative);
}

// ---- CSTRING ----

CSTRING::CSTRING(std::size_t size, std::string_view text) : buffer_(std::max<std::size_t>(size, 1), '\0') {
  SetText(text);
}

std::string_view CSTRING::Text() const {
  std::string_view all(buffer_.data(), buffer_.size());
  return all.substr(0, all.find('\0'));
}

void CSTRING::SetText(std::string_view text) {
  const std::size_t copied = std::min(text.size(), buffer_.size() - 1);
  std::copy_n(text.begin(), copied, buffer_.begin());
  buffer_[copied] = '\0';
}

// ---- Conversions ----

namespace textrope {

BYTE NumberToByte(double value) { return static_cast<BYTE>(TruncateOrLowest<SHORT>(value) & 0xFF); }
SHORT NumberToShort(double value) { return TruncateOrLowest<SHORT>(value); }
USHORT NumberToUshort(double value) { return static_cast<USHORT>(TruncateOrLowest<LONG>(value) & 0xFFFF); }
LONG NumberToLong(double value) { return TruncateOrLowest<LONG>(value); }
ULONG NumberToUlong(double value) {
  return static_cast<ULONG>(static_cast<std::uint64_t>(TruncateOrLowest<std::int64_t>(value)) & 0xFFFFFFFFu);
}

SREAL NumberToSreal(double value) {
  // Halfway past the largest finite 32-bit real rounds to infinity.
  constexpr double kOverflow = 0x1.ffffffp127;
  if (value >= kOverflow) return std::numeric_limits<SREAL>::infinity();
  if (value <= -kOverflow) return -std::numeric_limits<SREAL>::infinity();
  return static_cast<SREAL>(value);
}

}  // namespace textrope

// ---- VariableRef ----

double VariableRef::Number() const {
  return std::visit(Overloaded{
                        [](const DECIMAL* v) { return v->Real(); },
                        [](const CSTRING* v) { return TextNumber(v->Text()); },
                        [](const std::string* v) { return TextNumber(*v); },
                        [](const auto* v) { return static_cast<double>(*v); },
                    },
                    target_);
}

std::string VariableRef::Text() const {
  return std::visit(Overloaded{
                        [](const DECIMAL* v) { return v->Text(); },
                        [](const CSTRING* v) { return std::string(v->Text()); },
                        [](const std::string* v) { return *v; },
                        [](const SREAL* v) { return RealText(*v); },
                        [](const REAL* v) { return RealText(*v); },
                        [](const auto* v) { return std::to_string(*v); },
                    },
                    target_);
}

void VariableRef::SetNumber(double value) {
  std::visit(Overloaded{
                 [&](BYTE* v) { *v = textrope::NumberToByte(value); },
                 [&](SHORT* v) { *v = textrope::NumberToShort(value); },
                 [&](USHORT* v) { *v = textrope::NumberToUshort(value); },
                 [&](LONG* v) { *v = textrope::NumberToLong(value); },
                 [&](ULONG* v) { *v = textrope::NumberToUlong(value); },
                 [&](SREAL* v) { *v = textrope::NumberToSreal(value); },
                 [&](REAL* v) { *v = value; },
                 [&](DECIMAL* v) { v->SetReal(value); },
                 [&](CSTRING* v) { v->SetText(RealText(value)); },
                 [&](std::string* v) { SetFixedText(*v, RealText(value)); },
             },
             target_);
}

void VariableRef::SetText(std::string_view text) {
  std::visit(Overloaded{
                 [&](CSTRING* v) { v->SetText(text); },
                 [&](std::string* v) { SetFixedText(*v, text); },
                 [&](auto*) { SetNumber(TextNumber(text)); },
             },
             target_);
}
