#pragma once
// Texts of fixed size that live without the heap, for the fault path: FixedString<N> is a
// blank-padded field of N characters (what the reporter's properties are), BoundedText<N> a
// text of at most N characters that grows by appending and silently drops what does not fit.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "platform/win/system/ascii_text.h"

namespace crash {

template <std::size_t N>
class FixedString {
 public:
  FixedString() { std::memset(text_, ' ', N); }
  FixedString(std::string_view value) { *this = value; }  // NOLINT: assigned like a text
  FixedString& operator=(std::string_view value) {
    std::size_t n = std::min(N, value.size());
    std::memmove(text_, value.data(), n);
    std::memset(text_ + n, ' ', N - n);
    return *this;
  }
  // The text without its trailing blanks.
  std::string_view Clipped() const {
    std::size_t n = N;
    while (n > 0 && (text_[n - 1] == ' ' || text_[n - 1] == '\0')) --n;
    return {text_, n};
  }
  bool IsBlank() const { return Clipped().empty(); }
  static constexpr std::size_t Size() { return N; }

 private:
  char text_[N];
};

template <std::size_t N>
class BoundedText {
 public:
  BoundedText() = default;
  BoundedText(std::string_view value) { Append(value); }  // NOLINT: built like a text

  std::string_view View() const { return {text_, length_}; }
  std::size_t Length() const { return length_; }
  // NUL-terminated; the terminator lies beyond the N characters.
  const char* CStr() {
    text_[length_] = '\0';
    return text_;
  }
  void Clear() { length_ = 0; }
  // Drops the trailing blanks.
  BoundedText& Clip() {
    length_ = win::Clipped(View()).size();
    return *this;
  }

  BoundedText& Append(std::string_view value) {
    std::size_t n = std::min(N - length_, value.size());
    std::memmove(text_ + length_, value.data(), n);
    length_ += n;
    return *this;
  }
  BoundedText& Append(char c) { return Append(std::string_view(&c, 1)); }
  // Upper-case hexadecimal with leading zeros, `digits` of them (the low ones).
  BoundedText& AppendHex(std::uint64_t value, int digits) {
    char out[16];
    for (int i = digits - 1; i >= 0; --i, value >>= 4) out[i] = "0123456789ABCDEF"[value & 0xF];
    return Append(std::string_view(out, static_cast<std::size_t>(digits)));
  }
  BoundedText& AppendDecimal(std::int64_t value) {
    char out[24];
    int at = 24;
    std::uint64_t magnitude = value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    do {
      out[--at] = static_cast<char>('0' + magnitude % 10);
      magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0) out[--at] = '-';
    return Append(std::string_view(out + at, static_cast<std::size_t>(24 - at)));
  }

 private:
  std::size_t length_ = 0;
  char text_[N + 1];
};

// Any path Linux allows.
inline constexpr std::size_t kMostPath = 4096;
using PathText = BoundedText<kMostPath>;

}  // namespace crash
