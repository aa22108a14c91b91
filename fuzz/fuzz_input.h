#pragma once
// Takes a fuzzer's bytes apart into the arguments of one call: small numbers and choices from
// the front, texts cut at a separator byte, and the rest. Running out of bytes gives zeros and
// empty texts, never an error, so every input means something.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace fuzz {

class Input {
 public:
  Input(const std::uint8_t* data, std::size_t size) : rest_(reinterpret_cast<const char*>(data), size) {}

  bool Empty() const { return rest_.empty(); }
  std::uint8_t Byte() {
    if (rest_.empty()) return 0;
    auto byte = static_cast<std::uint8_t>(rest_.front());
    rest_.remove_prefix(1);
    return byte;
  }
  // A number from 0 to limit - 1 (limit above 0).
  std::size_t Below(std::size_t limit) { return Byte() % limit; }
  std::uint32_t Word() {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) value = value << 8 | Byte();
    return value;
  }
  // The bytes up to the next `separator` (which is dropped), or all that is left.
  std::string Text(char separator = '\0') {
    std::size_t end = rest_.find(separator);
    std::string text(rest_.substr(0, end));
    rest_.remove_prefix(end == std::string_view::npos ? rest_.size() : end + 1);
    return text;
  }
  std::string Rest() {
    std::string text(rest_);
    rest_ = {};
    return text;
  }

 private:
  std::string_view rest_;
};

}  // namespace fuzz
