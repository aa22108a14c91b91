#include <array>
#include <cstdint>
#include <cstring>
#include <string>

#include "textrope/byte_text.h"
#include "textrope/textrope.h"

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

char FirstOr(std::string_view text, char fallback) { return text.empty() ? fallback : text[0]; }

// The encoding of one byte: itself, the space character, or the delimiter and two digits.
struct ByteCode {
  char bytes[4];
  std::uint8_t length;
};

// What becomes of each byte value. The delimiter and the space character are always
// escaped, so that decoding gives them back.
std::array<ByteCode, 256> CodingTable(LONG flags, char delimiter, char space) {
  std::array<bool, 256> keep{};
  for (unsigned char c : std::string_view("-_!~*'()")) keep[c] = true;
  for (int c = '0'; c <= '9'; ++c) keep[c] = true;
  for (int c = 'A'; c <= 'Z'; ++c) keep[c] = true;
  for (int c = 'a'; c <= 'z'; ++c) keep[c] = true;
  if ((flags & 0x20) != 0) {
    for (unsigned char c : std::string_view("/\\.$")) keep[c] = true;
  }
  auto escaped = [delimiter](unsigned char c) { return ByteCode{{delimiter, kHexDigits[c >> 4], kHexDigits[c & 0x0F], 0}, 3}; };
  std::array<ByteCode, 256> table;
  for (int c = 0; c < 256; ++c) {
    table[c] = keep[c] ? ByteCode{{static_cast<char>(c), 0, 0, 0}, 1} : escaped(static_cast<unsigned char>(c));
  }
  if ((flags & 3) != 0) {
    table[' '] = {{' ', 0, 0, 0}, 1};
  } else if ((flags & 0x10) == 0) {
    table[' '] = {{space, 0, 0, 0}, 1};
  }
  table[static_cast<unsigned char>(delimiter)] = escaped(static_cast<unsigned char>(delimiter));
  table[static_cast<unsigned char>(space)] = escaped(static_cast<unsigned char>(space));
  return table;
}

// "0"-"9" and "A"-"F" only: a lower-case digit is not read as one.
int EscapeDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return 0;
}

}  // namespace

void Textrope::UrlEncode(LONG flags, std::string_view pDelimiter, std::string_view pSpace) {
  if (value.empty()) return;
  const char delimiter = FirstOr(pDelimiter, '%');
  const char space = FirstOr(pSpace, '+');
  const std::array<ByteCode, 256> table = CodingTable(flags, delimiter, space);
  // Counted first, so that the encoding is written once into a block of its size. Every
  // byte's code is stored whole (four bytes) and the output moves on by its length, which
  // needs three bytes of room after the end.
  std::size_t size = 0;
  for (unsigned char c : value) size += table[c].length;
  std::string encoded(size + 3, '\0');
  char* out = encoded.data();
  for (unsigned char c : value) {
    std::memcpy(out, table[c].bytes, 4);
    out += table[c].length;
  }
  // A blank kept at the very end does not survive.
  encoded.resize(textrope::Clipped(std::string_view(encoded).substr(0, size)).size());
  value = std::move(encoded);
}

void Textrope::UrlDecode(std::string_view pDelimiter, std::string_view pSpace) {
  if (value.empty()) return;
  const char delimiter[1] = {FirstOr(pDelimiter, '%')};
  const char space[1] = {FirstOr(pSpace, '+')};
  Replace(std::string_view(space, 1), " ", 0, 1, 0, 0, 0);
  // Decoded in place: the bytes are written behind the search, which reads only what is
  // still ahead of it.
  const LONG length = Length();
  char* bytes = value.data();
  LONG read = 1;
  std::size_t written = 0;
  auto copy = [&](LONG from, LONG to) {  // bytes from..to-1, 1-based
    if (to <= from) return;
    std::memmove(bytes + written, bytes + from - 1, static_cast<std::size_t>(to - from));
    written += static_cast<std::size_t>(to - from);
  };
  while (read <= length) {
    LONG found = Instring(std::string_view(delimiter, 1), 1, read, 0, 0, 0);
    if (found == 0) break;
    copy(read, found);
    // A delimiter without two bytes after it is not an escape and stays as it is.
    if (found + 2 > length) {
      read = found;
      break;
    }
    bytes[written++] = static_cast<char>(EscapeDigit(bytes[found]) * 16 + EscapeDigit(bytes[found + 1]));
    read = found + 3;
  }
  copy(read, length + 1);
  SetLength(static_cast<LONG>(written));
}
