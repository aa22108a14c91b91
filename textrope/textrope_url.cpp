#include <array>
#include <cstring>
#include <string>

#include "textrope/byte_text.h"
#include "textrope/textrope.h"

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

enum class Coding : unsigned char { Keep, Escape, Space };

char FirstOr(std::string_view text, char fallback) { return text.empty() ? fallback : text[0]; }

// What becomes of each byte value. The delimiter and the space character are always
// escaped, so that decoding gives them back.
std::array<Coding, 256> CodingTable(LONG flags, char delimiter, char space) {
  std::array<Coding, 256> table;
  table.fill(Coding::Escape);
  for (unsigned char c : std::string_view("-_!~*'()")) table[c] = Coding::Keep;
  for (int c = '0'; c <= '9'; ++c) table[c] = Coding::Keep;
  for (int c = 'A'; c <= 'Z'; ++c) table[c] = Coding::Keep;
  for (int c = 'a'; c <= 'z'; ++c) table[c] = Coding::Keep;
  if ((flags & 0x20) != 0) {
    for (unsigned char c : std::string_view("/\\.$")) table[c] = Coding::Keep;
  }
  if ((flags & 3) != 0) {
    table[' '] = Coding::Keep;
  } else if ((flags & 0x10) == 0) {
    table[' '] = Coding::Space;
  }
  table[static_cast<unsigned char>(delimiter)] = Coding::Escape;
  table[static_cast<unsigned char>(space)] = Coding::Escape;
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
  const std::array<Coding, 256> table = CodingTable(flags, delimiter, space);
  // Counted first, so that the encoding is written once into a block of its exact size.
  std::size_t escapes = 0;
  for (unsigned char c : value) escapes += table[c] == Coding::Escape;
  std::string encoded(value.size() + 2 * escapes, '\0');
  char* out = encoded.data();
  for (unsigned char c : value) {
    switch (table[c]) {
      case Coding::Keep: *out++ = static_cast<char>(c); break;
      case Coding::Space: *out++ = space; break;
      case Coding::Escape:
        out[0] = delimiter;
        out[1] = kHexDigits[c >> 4];
        out[2] = kHexDigits[c & 0x0F];
        out += 3;
        break;
    }
  }
  // A blank kept at the very end does not survive.
  encoded.resize(textrope::Clipped(encoded).size());
  if (encoded.size() != encoded.capacity()) encoded.shrink_to_fit();
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
