#include "textrope/byte_text.h"
#include "textrope/fresh_block.h"
#include "textrope/hex_codec.h"
#include "textrope/textrope.h"

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

LONG Textrope::BaseToDec(std::string_view num, LONG base) {
  return static_cast<LONG>(textrope::ParseDigits(num, base));
}

std::string Textrope::ByteToHex(BYTE pByte) {
  std::string text(2, '0');
  textrope::EncodeHex(reinterpret_cast<const char*>(&pByte), 1, text.data(), false);
  return text;
}

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
  std::string text(2 * count, '\0');
  textrope::EncodeHex(binData.data(), count, text.data(), pCase == 1);
  return text;
}

std::optional<std::string> Textrope::HexToString(std::string_view hexData) {
  std::size_t count = hexData.size() / 2;
  if (count == 0) return std::nullopt;
  std::string bytes(count, '\0');
  textrope::DecodeHexPairs(hexData.data(), count, bytes.data());
  return bytes;
}

void Textrope::ToHex(LONG pCase) {
  const std::size_t count = value.size();
  if (count == 0) return;
  if (value.capacity() >= 2 * count) {
    // The value's own block has room: the digits are written over it from the back.
    textrope::ResizeForOverwrite(value, 2 * count);
    textrope::EncodeHexInPlace(value.data(), count, pCase == 1);
    return;
  }
  std::string text = textrope::FreshBlock(2 * count);
  textrope::EncodeHex(value.data(), count, text.data(), pCase == 1);
  value.swap(text);
}

void Textrope::FromHex() {
  const std::size_t count = value.size() / 2;
  if (count == 0) return;
  // Each byte takes the place of its two digits; the output never overtakes the input.
  textrope::DecodeHexPairs(value.data(), count, value.data());
  value.resize(count);
}
