#include "textrope/hex_codec.h"

#include <array>

#include "textrope/byte_text.h"

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace textrope {

namespace {

// Digit value of a byte in any base up to 36; 0 for bytes that are not digits or letters.
constexpr ULONG DigitValue(unsigned char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'z') return c - 'a' + 10;
  if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
  return 0;
}

// The byte every pair of characters stands for, worked out once by ParseDigits itself, so
// irregular text costs one look-up per pair.
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

void DecodeByTable(const char* text, std::size_t count, char* out) {
  const auto& table = PairTable();
  const auto* in = reinterpret_cast<const unsigned char*>(text);
  for (std::size_t i = 0; i < count; ++i, in += 2) out[i] = static_cast<char>(table[in[0] << 8 | in[1]]);
}

void EncodeByTable(const char* bytes, std::size_t count, char* out, bool upperCase) {
  const char* digits = upperCase ? "0123456789ABCDEF" : "0123456789abcdef";
  for (std::size_t i = 0; i < count; ++i) {
    auto b = static_cast<unsigned char>(bytes[i]);
    out[2 * i] = digits[b >> 4];
    out[2 * i + 1] = digits[b & 0x0F];
  }
}

#ifdef __SSE2__
// Sixteen nibbles (0-15) to their digit characters.
inline __m128i NibbleDigits(__m128i nibbles, __m128i letterGap) {
  const __m128i zero = _mm_set1_epi8('0');
  const __m128i nine = _mm_set1_epi8(9);
  return _mm_add_epi8(_mm_add_epi8(nibbles, zero), _mm_and_si128(_mm_cmpgt_epi8(nibbles, nine), letterGap));
}

inline bool AllHexDigits(__m128i c) {
  const __m128i lower = _mm_or_si128(c, _mm_set1_epi8(0x20));
  __m128i digit = _mm_and_si128(_mm_cmpgt_epi8(c, _mm_set1_epi8('0' - 1)), _mm_cmplt_epi8(c, _mm_set1_epi8('9' + 1)));
  __m128i letter =
      _mm_and_si128(_mm_cmpgt_epi8(lower, _mm_set1_epi8('a' - 1)), _mm_cmplt_epi8(lower, _mm_set1_epi8('f' + 1)));
  return _mm_movemask_epi8(_mm_or_si128(digit, letter)) == 0xFFFF;
}

// Sixteen hexadecimal digit characters to their values: the low four bits, plus 9 for letters.
inline __m128i DigitValues(__m128i c) {
  __m128i letter = _mm_cmpeq_epi8(_mm_and_si128(c, _mm_set1_epi8(0x40)), _mm_set1_epi8(0x40));
  return _mm_add_epi8(_mm_and_si128(c, _mm_set1_epi8(0x0F)), _mm_and_si128(letter, _mm_set1_epi8(9)));
}

// Eight digit pairs (first digit in the low byte of each 16-bit lane) to eight bytes.
inline __m128i JoinPairs(__m128i values) {
  __m128i high = _mm_slli_epi16(_mm_and_si128(values, _mm_set1_epi16(0x00FF)), 4);
  return _mm_or_si128(high, _mm_srli_epi16(values, 8));
}
#endif

}  // namespace

ULONG ParseDigits(std::string_view text, LONG base) {
  text = Clipped(text);
  ULONG result = 0;
  ULONG place = 1;
  const auto radix = static_cast<ULONG>(base);
  for (std::size_t i = text.size(); i-- > 0;) {
    ULONG d = DigitValue(static_cast<unsigned char>(text[i]));
    if (base > 0 && d < radix) {
      result += d * place;
      place *= radix;
    }
  }
  return result;
}

void EncodeHex(const char* bytes, std::size_t count, char* out, bool upperCase) {
  std::size_t i = 0;
#ifdef __SSE2__
  const __m128i letterGap = _mm_set1_epi8(upperCase ? 'A' - '0' - 10 : 'a' - '0' - 10);
  const __m128i lowNibble = _mm_set1_epi8(0x0F);
  for (; i + 16 <= count; i += 16) {
    __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + i));
    __m128i high = NibbleDigits(_mm_and_si128(_mm_srli_epi16(x, 4), lowNibble), letterGap);
    __m128i low = NibbleDigits(_mm_and_si128(x, lowNibble), letterGap);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 2 * i), _mm_unpacklo_epi8(high, low));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 2 * i + 16), _mm_unpackhi_epi8(high, low));
  }
#endif
  EncodeByTable(bytes + i, count - i, out + 2 * i, upperCase);
}

void EncodeHexInPlace(char* buffer, std::size_t count, bool upperCase) {
  std::size_t i = count;
#ifdef __SSE2__
  const __m128i letterGap = _mm_set1_epi8(upperCase ? 'A' - '0' - 10 : 'a' - '0' - 10);
  const __m128i lowNibble = _mm_set1_epi8(0x0F);
  for (; i >= 16; i -= 16) {
    __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(buffer + i - 16));
    __m128i high = NibbleDigits(_mm_and_si128(_mm_srli_epi16(x, 4), lowNibble), letterGap);
    __m128i low = NibbleDigits(_mm_and_si128(x, lowNibble), letterGap);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(buffer + 2 * i - 32), _mm_unpacklo_epi8(high, low));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(buffer + 2 * i - 16), _mm_unpackhi_epi8(high, low));
  }
#endif
  const char* digits = upperCase ? "0123456789ABCDEF" : "0123456789abcdef";
  for (; i-- > 0;) {
    auto b = static_cast<unsigned char>(buffer[i]);
    buffer[2 * i] = digits[b >> 4];
    buffer[2 * i + 1] = digits[b & 0x0F];
  }
}

void DecodeHexPairs(const char* text, std::size_t count, char* out) {
  std::size_t i = 0;
#ifdef __SSE2__
  for (; i + 16 <= count; i += 16) {
    __m128i first = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + 2 * i));
    __m128i second = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + 2 * i + 16));
    if (!AllHexDigits(first) || !AllHexDigits(second)) {
      // Blanks, separators and other bytes follow the digit rules of the table.
      DecodeByTable(text + 2 * i, 16, out + i);
      continue;
    }
    __m128i joined = _mm_packus_epi16(JoinPairs(DigitValues(first)), JoinPairs(DigitValues(second)));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), joined);
  }
#endif
  DecodeByTable(text + 2 * i, count - i, out + i);
}

}  // namespace textrope
