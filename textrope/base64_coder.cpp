#include "textrope/base64_coder.h"

#include <array>
#include <cstdint>
#include <cstring>

#include "textrope/base64_wide.h"

namespace textrope {

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr std::size_t kLineChars = 76;
constexpr std::uint8_t kPad = 64;
constexpr std::uint8_t kSkip = 0xFF;

constexpr std::array<std::uint8_t, 256> DigitTable() {
  std::array<std::uint8_t, 256> table{};
  for (auto& entry : table) entry = kSkip;
  for (std::uint8_t i = 0; i < 64; ++i) table[static_cast<unsigned char>(kAlphabet[i])] = i;
  table['='] = kPad;
  return table;
}
constexpr std::array<std::uint8_t, 256> kDigits = DigitTable();

// Each digit already in its place of a group of four; anything else sets kNotADigit.
constexpr std::uint32_t kNotADigit = 0x80000000u;
constexpr std::array<std::array<std::uint32_t, 256>, 4> ShiftedTables() {
  std::array<std::array<std::uint32_t, 256>, 4> tables{};
  for (int place = 0; place < 4; ++place) {
    for (int c = 0; c < 256; ++c) {
      std::uint8_t digit = kDigits[static_cast<std::size_t>(c)];
      tables[place][c] = digit < 64 ? static_cast<std::uint32_t>(digit) << (18 - 6 * place) : kNotADigit;
    }
  }
  return tables;
}
constexpr std::array<std::array<std::uint32_t, 256>, 4> kShifted = ShiftedTables();

// The two characters of every 12-bit half of a group, so a group takes two look-ups.
constexpr std::array<std::array<char, 2>, 4096> PairTable() {
  std::array<std::array<char, 2>, 4096> table{};
  for (std::size_t i = 0; i < 4096; ++i) table[i] = {kAlphabet[i >> 6], kAlphabet[i & 63]};
  return table;
}
constexpr std::array<std::array<char, 2>, 4096> kPairs = PairTable();

// The four characters of a group of up to three bytes (missing bytes count as 0).
void GroupChars(const unsigned char* in, std::size_t count, char chars[4]) {
  std::uint32_t bits = static_cast<std::uint32_t>(in[0]) << 16;
  if (count > 1) bits |= static_cast<std::uint32_t>(in[1]) << 8;
  if (count > 2) bits |= in[2];
  chars[0] = kAlphabet[bits >> 18];
  chars[1] = kAlphabet[(bits >> 12) & 63];
  chars[2] = count > 1 ? kAlphabet[(bits >> 6) & 63] : '=';
  chars[3] = count > 2 ? kAlphabet[bits & 63] : '=';
}

// A group at a time from the start of a line, where the whole output fits: no checks inside
// the loop.
std::size_t EncodePortable(const unsigned char* in, std::size_t n, char* out, bool wrap) {
  char* start = out;
  std::size_t column = 0;
  std::size_t i = 0;
  for (; i + 3 <= n; i += 3) {
    std::uint32_t bits = static_cast<std::uint32_t>(in[i]) << 16 | static_cast<std::uint32_t>(in[i + 1]) << 8 | in[i + 2];
    std::memcpy(out, kPairs[bits >> 12].data(), 2);
    std::memcpy(out + 2, kPairs[bits & 0xFFF].data(), 2);
    out += 4;
    if (wrap && (column += 4) == kLineChars) {
      out[0] = '\r';
      out[1] = '\n';
      out += 2;
      column = 0;
    }
  }
  if (i < n) {
    GroupChars(in + i, n - i, out);
    out += 4;
    if (wrap && column + 4 == kLineChars) {
      out[0] = '\r';
      out[1] = '\n';
      out += 2;
    }
  }
  return static_cast<std::size_t>(out - start);
}

// The whole output fits. The wide coder stops at the end of a line, where the portable one
// begins.
std::size_t EncodeUnchecked(const unsigned char* in, std::size_t n, char* out, bool wrap) {
  const std::size_t wide = Base64EncodeWide(in, n, out, wrap);
  const std::size_t wideChars = Base64EncodedSize(wide, wrap);
  return wideChars + EncodePortable(in + wide, n - wide, out + wideChars, wrap);
}

}  // namespace

std::size_t Base64EncodedSize(std::size_t n, bool wrap) {
  std::size_t chars = (n + 2) / 3 * 4;
  return wrap ? chars + chars / kLineChars * 2 : chars;
}

CodedSize Base64EncodeInto(const unsigned char* in, std::size_t n, char* out, std::size_t room, bool wrap) {
  if (Base64EncodedSize(n, wrap) <= room) return {EncodeUnchecked(in, n, out, wrap), true};
  std::size_t written = 0;
  std::size_t column = 0;
  for (std::size_t i = 0; i < n; i += 3) {
    if (room - written < 2) return {written, false};
    char chars[4];
    GroupChars(in + i, n - i < 3 ? n - i : 3, chars);
    for (char c : chars) {
      if (written == room) return {written, false};
      out[written++] = c;
    }
    if (wrap && (column += 4) == kLineChars) {
      if (room - written < 2) return {written, false};
      out[written++] = '\r';
      out[written++] = '\n';
      column = 0;
    }
  }
  return {written, true};
}

CodedSize Base64DecodeInto(const unsigned char* in, std::size_t n, unsigned char* out, std::size_t room) {
  std::size_t written = 0;
  std::uint32_t bits = 0;
  int digits = 0;
  int pads = 0;
  // One byte per digit before the padding, less one.
  auto emitGroup = [&]() {
    std::size_t count = pads >= 3 ? 0 : static_cast<std::size_t>(3 - pads);
    if (room - written < count) return false;
    for (std::size_t k = 0; k < count; ++k) out[written++] = static_cast<unsigned char>(bits >> (16 - 8 * k));
    bits = 0;
    digits = 0;
    pads = 0;
    return true;
  };
  // The byte after the output that the last four-byte store covered, and what was there:
  // the caller's buffer keeps it unless more output follows.
  std::size_t spillAt = room;
  unsigned char spilled = 0;
  bool complete = true;
  std::size_t i = 0;
  while (i < n) {
    // Runs of plain digits, the common case, go four at a time.
    while (digits == 0 && n - i >= 4 && room - written >= 4) {
      std::uint32_t group = kShifted[0][in[i]] | kShifted[1][in[i + 1]] | kShifted[2][in[i + 2]] | kShifted[3][in[i + 3]];
      if ((group & kNotADigit) != 0) break;
      // One four-byte store; its last byte is overwritten by the next group. It never
      // reaches input still to be read, which is at least four bytes ahead.
      std::uint32_t bigEndian = __builtin_bswap32(group << 8);
      spillAt = written + 3;
      spilled = out[spillAt];
      std::memcpy(out + written, &bigEndian, 4);
      written += 3;
      i += 4;
    }
    if (i == n) break;
    std::uint8_t digit = kDigits[in[i++]];
    if (digit == kSkip) continue;
    if (digit == kPad) {
      ++pads;
      digit = 0;
    }
    bits = bits << 6 | digit;
    if (++digits == 4 && !(complete = emitGroup())) break;
  }
  if (complete && digits > 0 && pads > 0) {
    // "YQ=": the padding says where the value ends, so the missing digits are padding too.
    while (digits < 4) {
      bits <<= 6;
      ++digits;
      ++pads;
    }
    complete = emitGroup();
  }
  if (spillAt == written) out[spillAt] = spilled;
  return {written, complete};
}

}  // namespace textrope
