#include <array>
#include <cstring>
#include <string>

#include "textrope/byte_text.h"
#include "textrope/textrope.h"

using textrope::Clipped;

namespace {

constexpr char kDigits[] = "0123456789";

// Word separators of each text type: 0 plain text, 1 HTML (where a word begins, "&" opens
// an entity instead of separating), 2 blank only. Unknown types read as plain text.
class Separators {
 public:
  Separators(LONG textType, bool ampersandSeparates) {
    if (textType == 2) {
      table_[' '] = true;
      return;
    }
    for (unsigned char c : std::string_view(" .\r\n\t,-;\"'!?&()*/+=<>:")) table_[c] = true;
    if (textType == 1 && !ampersandSeparates) table_['&'] = false;
  }
  bool operator()(char c) const { return table_[static_cast<unsigned char>(c)]; }

 private:
  std::array<bool, 256> table_{};
};

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

bool AllIn(std::string_view text, std::string_view alphabet) {
  std::array<bool, 256> allowed{};
  for (unsigned char c : alphabet) allowed[c] = true;
  for (unsigned char c : text) {
    if (!allowed[c]) return false;
  }
  return true;
}

std::string LowerText(std::string_view text) {
  std::string lowered(text);
  for (char& c : lowered) c = textrope::LowerByte(c);
  return lowered;
}

// Whether a and b are the same text, trailing blanks aside; exactCase 0 ignores case.
LONG SameText(std::string_view a, std::string_view b, LONG exactCase) {
  if (exactCase != 0) return Clipped(a) == Clipped(b) ? 1 : 0;
  return Clipped(LowerText(a)) == Clipped(LowerText(b)) ? 1 : 0;
}

}  // namespace

LONG Textrope::IsAll(std::string_view pAlphabet, std::optional<std::string_view> pTestString) {
  std::string_view alphabet = Clipped(pAlphabet);
  if (!pTestString) return (!value.empty() && AllIn(value, alphabet)) ? 1 : 0;
  return AllIn(*pTestString, alphabet) ? 1 : 0;
}

LONG Textrope::ContainsA(std::string_view pAlphabet, std::optional<std::string_view> pTestString) {
  std::string_view alphabet = Clipped(pAlphabet.substr(0, 255));
  if (!pTestString) {
    if (value.empty()) return 0;
    for (char c : alphabet) {
      if (Instring(std::string_view(&c, 1), 1, 1, 0, 0, 0) != 0) return 1;
    }
    return 0;
  }
  for (char c : alphabet) {
    if (pTestString->find(c) != std::string_view::npos) return 1;
  }
  return 0;
}

LONG Textrope::IsAllDigits() { return IsAll(kDigits); }

LONG Textrope::ContainsADigit() { return ContainsA(kDigits); }

LONG Textrope::StartsWith(std::string_view pStr, LONG pCase) {
  std::string_view prefix = Clipped(pStr);
  if (prefix.empty()) return 1;
  return SameText(Left(static_cast<LONG>(prefix.size()), 1), prefix, pCase);
}

LONG Textrope::EndsWith(std::string_view pStr, LONG pCase) {
  std::string_view suffix = Clipped(pStr);
  if (suffix.empty()) return 1;
  return SameText(Right(static_cast<LONG>(suffix.size()), 1), suffix, pCase);
}

LONG Textrope::WordEnd(LONG pStartPos, LONG textType) {
  const LONG length = Length();
  if (pStartPos < 1 || pStartPos > length) return 0;
  const Separators separator(textType, true);
  auto at = [this](LONG position) { return value[static_cast<std::size_t>(position) - 1]; };
  if (pStartPos == length) return separator(at(length)) ? 0 : length;
  LONG x = pStartPos;
  for (; x <= length; ++x) {
    char c = at(x);
    // "don't" is one word: an apostrophe belongs to it only when a letter follows.
    if (c == '\'') {
      if (x == length || !IsLetter(at(x + 1))) break;
      continue;
    }
    if (separator(c)) break;
  }
  if (x > length) return length;
  return x > pStartPos ? x - 1 : 0;
}

LONG Textrope::WordStart(LONG pStartPos, LONG textType, LONG pDir) {
  const LONG length = Length();
  if (pStartPos < 1 || pStartPos > length || pDir == 0) return 0;
  const Separators separator(textType, false);
  auto at = [this](LONG position) { return value[static_cast<std::size_t>(position) - 1]; };
  LONG x = pStartPos;
  if (pDir > 0) {
    while (x <= length) {
      char c = at(x);
      if (textType == 1 && c == '&') {
        // An entity such as "&amp;" is not a word.
        LONG semicolon = FindChar(";", x + 1, length);
        x = semicolon != 0 ? semicolon + 1 : x + 1;
      } else if (separator(c)) {
        ++x;
      } else {
        return x;
      }
    }
    return 0;
  }
  while (x >= 1 && separator(at(x))) --x;
  if (x < 1) return 0;
  // Leftwards over the word; an apostrophe between a word byte and a letter stays inside it,
  // as WordEnd reads it going forwards.
  while (x > 1) {
    char before = at(x - 1);
    bool inside = !separator(before) ||
                  (before == '\'' && IsLetter(at(x)) && x > 2 && !separator(at(x - 2)));
    if (!inside) break;
    --x;
  }
  return x;
}

LONG Textrope::CountWords(LONG startPos, LONG htmlEnc) {
  const LONG length = Length();
  if (startPos < 1 || startPos > length) return 0;
  LONG count = 0;
  LONG position = startPos;
  for (;;) {
    LONG first = WordStart(position, htmlEnc, 1);
    if (first == 0) break;
    ++count;
    LONG last = WordEnd(first, htmlEnc);
    if (last == 0 || last >= length) break;
    position = last + 1;
  }
  return count;
}

std::string Textrope::FindWord(LONG pWordNumber, LONG startPos, LONG htmlEnc, LONG& pStart, LONG& pEnd) {
  pStart = 0;
  pEnd = 0;
  const LONG length = Length();
  if (startPos < 1) startPos = pWordNumber >= 0 ? 1 : length;
  if (startPos > length) startPos = length;
  if (pWordNumber == 0 || length == 0) return {};
  const bool forward = pWordNumber > 0;
  const LONG wanted = forward ? pWordNumber : -pWordNumber;
  LONG position = startPos;
  for (LONG count = 1; position >= 1 && position <= length; ++count) {
    LONG first = WordStart(position, htmlEnc, forward ? 1 : -1);
    if (first == 0) return {};
    LONG last = WordEnd(first, htmlEnc);
    // A word that does not end (an apostrophe word in blank-only text) ends the scan.
    if (last == 0) return {};
    if (count == wanted) {
      pStart = first;
      pEnd = last;
      return Slice(static_cast<ULONG>(first), static_cast<ULONG>(last));
    }
    position = forward ? last + 1 : first - 1;
  }
  return {};
}

std::string Textrope::Word(LONG pWordNumber, LONG startPos, LONG htmlEnc) {
  LONG first = 0, last = 0;
  return FindWord(pWordNumber, startPos, htmlEnc, first, last);
}

std::string Textrope::GetWord(LONG pWordNumber, LONG startPos, LONG htmlEnc) {
  return Word(pWordNumber, startPos, htmlEnc);
}

void Textrope::Squeeze(LONG textType) {
  const LONG length = Length();
  LONG written = 0;  // the words are copied leftwards over bytes already read
  LONG position = 1;
  while (position <= length) {
    LONG first = WordStart(position, textType, 1);
    if (first == 0) break;
    LONG last = WordEnd(first, textType);
    if (last == 0) break;
    if (written > 0) value[static_cast<std::size_t>(written++)] = ' ';
    std::memmove(value.data() + written, value.data() + first - 1, static_cast<std::size_t>(last - first + 1));
    written += last - first + 1;
    position = last + 1;
  }
  SetLength(written);
}
