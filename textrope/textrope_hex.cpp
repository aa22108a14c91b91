#include <array>
#include <cstring>

#include "textrope/byte_text.h"
#include "textrope/textrope.h"

namespace {

// Digit value of a byte in any base up to 36; 0 for bytes that are not digits or letters.
constexpr ULONG DigitValue(unsigned char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'z') return c - 'a' + 10;
  if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
  return 0;
}

ULONG ParseDigits(std::string_view num, LONG base) {
  num = textrope::Clipped(num);
  ULONG result = 0;
  ULONG place = 1;
  const auto radix = static_cast<ULONG>(base);
  for (std::size_t i = num.size(); i-- > 0;) {
    ULONG d = DigitValue(static_cast<unsigned char>(num[i]));
    if (base > 0 && d < radix) {
      result += d * place;
      place *= radix;
    }
  }
  return result;
}

// The byte every pair of hexadecimal characters stands for, worked out once by the same
// rules as BaseToDec, so converting a long text is one look-up per pair.
const std::array<BYTE, 65536>& PairTable() {
  static const auto table = [] {
    std::array<BYTE, 65536> built{};
    for (unsigned hi = 0; hi < 256; ++hi) {
      for (unsigned lo = 0; lo < 256; ++lo) {
        const char pair[2] = {static_cast<char>(hi), static_cast<char>(lo)};
        built[hi << 8 | lo] = static_cast<BYTE>(ParseDigits(std::string_view(pair, 2), 16) & 0xFF);
      }
    }
    return built;
  }();
  return table;
}

// Two digit characters for every byte, in lower and upper case.
struct HexPairs {
  char lower[256][2];
  char upper[256][2];
};

const HexPairs& PairDigits() {
  static const HexPairs pairs = [] {
    static constexpr char kLower[] = "0123456789abcdef";
    static constexpr char kUpper[] = "0123456789ABCDEF";
    HexPairs built{};
    for (unsigned b = 0; b < 256; ++b) {
      built.lower[b][0] = kLower[b >> 4];
      built.lower[b][1] = kLower[b & 0x0F];
      built.upper[b][0] = kUpper[b >> 4];
      built.upper[b][1] = kUpper[b & 0x0F];
    }
    return built;
  }();
  return pairs;
}

}  // namespace

std::string Textrope::DecToBase(LONG num, LONG base, LONG lowerCase) {
  // Letter digits go up to the sixteenth, and a base below 2 would never finish.
  if (base < 2 || base > 16) return {};
  const char* letters = lowerCase != 0 ? "abcdef" : "ABCDEF";
  std::string text;
  while (num > 0 && text.size() < 32) {
    LONG r = num % base;
    num /= base;
    text.insert(text.begin(), r < 10 ? static_cast<char>('0' + r) : letters[r - 10]);
  }
  return text;
}

LONG Textrope::BaseToDec(std::string_view num, LONG base) { return static_cast<LONG>(ParseDigits(num, base)); }

std::string Textrope::ByteToHex(BYTE pByte) { return std::string(PairDigits().lower[pByte], 2); }

BYTE Textrope::HexToByte(std::string_view hexVal) {
  if (hexVal.size() != 1 && hexVal.size() != 2) return 0;
  return static_cast<BYTE>(BaseToDec(hexVal, 16) & 0xFF);
}

std::string Textrope::LongToHex(LONG pLong) {
  auto bits = static_cast<ULONG>(pLong);
  std::string text;
  for (int shift = 24; shift >= 0; shift -= 8) text += ByteToHex(static_cast<BYTE>(bits >> shift));
  return text;
}

std::optional<std::string> Textrope::StringToHex(std::string_view binData, LONG pLen, LONG pCase) {
  std::size_t count = pLen > 0 ? static_cast<std::size_t>(pLen) : textrope::Clipped(binData).size();
  if (count > binData.size()) count = binData.size();  // never read past the data
  if (count == 0) return std::nullopt;
  const auto& digits = pCase == 1 ? PairDigits().upper : PairDigits().lower;
  std::string text(2 * count, '\0');
  char* out = text.data();
  for (std::size_t i = 0; i < count; ++i, out += 2) {
    std::memcpy(out, digits[static_cast<unsigned char>(binData[i])], 2);
  }
  return text;
}

std::optional<std::string> Textrope::HexToString(std::string_view hexData) {
  std::size_t count = hexData.size() / 2;
  if (count == 0) return std::nullopt;
  const auto& table = PairTable();
  std::string bytes(count, '\0');
  const auto* in = reinterpret_cast<const unsigned char*>(hexData.data());
  for (std::size_t i = 0; i < count; ++i, in += 2) bytes[i] = static_cast<char>(table[in[0] << 8 | in[1]]);
  return bytes;
}

void Textrope::ToHex(LONG pCase) {
  std::optional<std::string> text = StringToHex(value, Length(), pCase);
  if (text) value = std::move(*text);
}

void Textrope::FromHex() {
  std::optional<std::string> bytes = HexToString(value);
  if (bytes) value = std::move(*bytes);
}
