#include <algorithm>
#include <cstdint>
#include <cstring>
#include <random>

#include "textrope/byte_search.h"
#include "textrope/byte_text.h"
#include "textrope/fresh_block.h"
#include "textrope/textrope.h"

using textrope::UpperByte;

namespace {

constexpr std::size_t kNone = std::string_view::npos;

bool EqualFolded(const char* a, std::string_view foldedNeedle) {
  for (std::size_t i = 0; i < foldedNeedle.size(); ++i) {
    if (UpperByte(a[i]) != foldedNeedle[i]) return false;
  }
  return true;
}

std::string Folded(std::string_view text) {
  std::string folded(text);
  for (char& c : folded) c = UpperByte(c);
  return folded;
}

// Finds the search text in the value from a position on, testing the positions from,
// from + step, ... With foldHay the value's bytes are upper-cased before comparing; the
// needle is taken as given (the caller folds it when it should).
class Matcher {
 public:
  Matcher(std::string_view hay, std::string_view needle, std::size_t step, bool foldHay)
      : hay_(hay), needle_(needle), step_(step), foldHay_(foldHay), finder_(hay, needle, foldHay) {}

  // 0-based index of the first match at or after from, or kNone.
  std::size_t Next(std::size_t from) {
    if (step_ == 1) return finder_.Next(from);
    if (needle_.empty() || from >= hay_.size() || needle_.size() > hay_.size() - from) return kNone;
    std::size_t last = hay_.size() - needle_.size();
    for (std::size_t p = from; p <= last; p += step_) {
      bool match = foldHay_ ? EqualFolded(hay_.data() + p, needle_)
                            : std::memcmp(hay_.data() + p, needle_.data(), needle_.size()) == 0;
      if (match) return p;
    }
    return kNone;
  }

  // Calls visit(at) for the matches from `from` on, each next one at or after at + advance,
  // until visit returns false.
  template <typename Visit>
  void Walk(std::size_t from, std::size_t advance, Visit visit) {
    if (step_ == 1) {
      finder_.Walk(from, advance, visit);
      return;
    }
    for (std::size_t at = Next(from); at != kNone && visit(at); at = Next(at + advance)) {
    }
  }

 private:
  std::string_view hay_;
  std::string_view needle_;
  std::size_t step_;
  bool foldHay_;
  textrope::ByteFinder finder_;
};

std::size_t FindFrom(std::string_view hay, std::string_view needle, std::size_t from, std::size_t step,
                     bool foldHay) {
  return Matcher(hay, needle, step, foldHay).Next(from);
}

// memmove for the short stretches between dense matches, where a library call per stretch
// would cost more than the bytes: every load comes before every store, so the stretches may
// overlap (a shrinking replacement moves the value's bytes down within its own block).
inline void MoveBytes(char* to, const char* from, std::size_t count) {
  if (count > 16) {
    std::memmove(to, from, count);
  } else if (count >= 8) {
    std::uint64_t head, tail;
    std::memcpy(&head, from, 8);
    std::memcpy(&tail, from + count - 8, 8);
    std::memcpy(to, &head, 8);
    std::memcpy(to + count - 8, &tail, 8);
  } else if (count >= 4) {
    std::uint32_t head, tail;
    std::memcpy(&head, from, 4);
    std::memcpy(&tail, from + count - 4, 4);
    std::memcpy(to, &head, 4);
    std::memcpy(to + count - 4, &tail, 4);
  } else if (count > 0) {
    const char first = from[0], middle = from[count / 2], last = from[count - 1];
    to[0] = first;
    to[count / 2] = middle;
    to[count - 1] = last;
  }
}

constexpr std::size_t kChunk = 16;
// Longer stretches go to memmove.
constexpr std::size_t kShortGap = 4 * kChunk;

// Copies count bytes a chunk at a time, so up to kChunk - 1 bytes past each end are read and
// written too: the caller keeps the destination at least a chunk behind the source and
// leaves a chunk of source after the stretch.
inline void CopyChunks(char* to, const char* from, std::size_t count) {
  for (std::size_t i = 0; i < count; i += kChunk) {
    char chunk[kChunk];
    std::memcpy(chunk, from + i, kChunk);
    std::memcpy(to + i, chunk, kChunk);
  }
}

bool Overlaps(std::string_view a, const std::string& b) {
  return !a.empty() && !b.empty() && a.data() < b.data() + b.size() && b.data() < a.data() + a.size();
}

// One pass of a replacement that changes the length: the matches of needle wholly inside
// [first, end) are found and the result written in the same walk, at most `allowed` of them.
// A shrinking result is written over the value itself (the output never overtakes the
// input); a growing one goes into a block sized for the largest result the window allows, so
// nothing is counted first and nothing filled. The pass is dropped, leaving the value as it
// was, when its result would outgrow the LONG range. Answers the replacements made.
LONG ReplacePass(std::string& value, std::string_view needle, std::string_view newValue, std::size_t first,
                 std::size_t end, bool fold, LONG allowed) {
  const std::size_t oldLen = needle.size();
  const std::size_t newLen = newValue.size();
  if (end < oldLen || first > end - oldLen) return 0;
  const bool inPlace = newLen < oldLen;
  std::string grown;
  std::size_t room = value.size();
  if (!inPlace) {
    const std::uint64_t most = std::min<std::uint64_t>((end - first) / oldLen, static_cast<std::uint64_t>(allowed));
    const std::uint64_t largest = value.size() + (newLen - oldLen) * most;
    room = static_cast<std::size_t>(std::min<std::uint64_t>(largest, textrope::kMaxLength));
    grown = textrope::FreshBlock(room);
  }
  char* out = inPlace ? value.data() : grown.data();
  std::size_t written = first;
  if (!inPlace) MoveBytes(out, value.data(), first);
  std::size_t p = first;
  LONG replaced = 0;
  bool outgrown = false;
  // A short replacement text, padded to a whole chunk for the chunked copy.
  char paddedNew[kChunk] = {};
  const bool chunkedNew = newLen <= kChunk;
  if (chunkedNew) std::memcpy(paddedNew, newValue.data(), newLen);
  Matcher(value, needle, 1, fold).Walk(first, oldLen, [&](std::size_t hit) {
    if (hit > end - oldLen) return false;
    if (written + (hit - p) + newLen > room) {
      outgrown = true;
      return false;
    }
    if (inPlace && chunkedNew && p - written >= kChunk && hit - p <= kShortGap && value.size() - hit >= kChunk) {
      // A chunk or more behind the input: whole chunks, whose spill lands below the match.
      CopyChunks(out + written, value.data() + p, hit - p);
      written += hit - p;
      std::memcpy(out + written, paddedNew, kChunk);
    } else {
      MoveBytes(out + written, value.data() + p, hit - p);
      written += hit - p;
      MoveBytes(out + written, newValue.data(), newLen);
    }
    written += newLen;
    p = hit + oldLen;
    return ++replaced < allowed;
  });
  if (outgrown || written + (value.size() - p) > room) return 0;
  if (replaced == 0) return 0;
  MoveBytes(out + written, value.data() + p, value.size() - p);
  written += value.size() - p;
  if (inPlace) {
    value.resize(written);
  } else {
    grown.resize(written);
    value.swap(grown);
  }
  return replaced;
}

// 0-based first position of a window given as 1-based LONG start.
std::size_t FirstIndex(LONG pStart) { return pStart < 1 ? 0 : static_cast<std::size_t>(pStart) - 1; }

// 0-based end (one past the last byte) of a window given as 1-based LONG end: 0 or below, or
// beyond the value, means the end of the value.
std::size_t EndIndex(LONG pEnd, std::size_t length) {
  return (pEnd < 1 || static_cast<std::size_t>(pEnd) > length) ? length : static_cast<std::size_t>(pEnd);
}

// A search with a step answers which step matched rather than the byte position.
LONG StepNumber(std::int64_t position, std::size_t step) {
  return static_cast<LONG>((position - 1) / static_cast<std::int64_t>(step) + 1);
}

std::mt19937& RandomEngine() {
  thread_local std::mt19937 engine{std::random_device{}()};
  return engine;
}

}  // namespace

LONG Textrope::FindChar(std::string_view pSearchValue, LONG pStart, LONG pEnd) {
  if (value.empty() || pSearchValue.empty()) return 0;
  std::size_t first = FirstIndex(pStart);
  std::size_t end = EndIndex(pEnd, value.size());
  if (first >= end) return 0;
  const void* hit = std::memchr(value.data() + first, pSearchValue[0], end - first);
  return hit == nullptr ? 0 : static_cast<LONG>(static_cast<const char*>(hit) - value.data() + 1);
}

LONG Textrope::FindChars(std::string_view pSearchValue, LONG pStart, LONG pEnd) {
  if (value.empty() || pSearchValue.empty()) return 0;
  std::size_t first = FirstIndex(pStart);
  std::size_t end = EndIndex(pEnd, value.size());
  if (first >= end || end - first < pSearchValue.size()) return 0;
  std::size_t hit = textrope::FindBytes(std::string_view(value.data(), end), pSearchValue, first);
  return hit == kNone ? 0 : static_cast<LONG>(hit + 1);
}

LONG Textrope::Instring(std::string_view pSearchValue, LONG pStep, LONG pStart, LONG pEnd, LONG pNoCase,
                        LONG pWholeWord) {
  std::size_t need = pSearchValue.size();
  if (value.empty() || need == 0) return 0;
  std::size_t step = pStep < 1 ? 1 : static_cast<std::size_t>(pStep);
  bool fast = pNoCase == 0 && step == 1;
  std::string folded = pNoCase == 1 ? Folded(pSearchValue) : std::string();
  std::string_view needle = pNoCase == 1 ? std::string_view(folded) : pSearchValue;
  std::int64_t start = pStart < 1 ? 1 : pStart;
  for (;;) {
    std::int64_t x = 0;
    if (fast) {
      LONG from = static_cast<LONG>(std::min<std::int64_t>(start, textrope::kMaxLength));
      x = need == 1 ? FindChar(pSearchValue, from, pEnd) : FindChars(pSearchValue, from, pEnd);
    } else {
      std::size_t hit = FindFrom(value, needle, static_cast<std::size_t>(start - 1), step, pNoCase == 1);
      if (hit != kNone && !(pEnd > 0 && static_cast<std::int64_t>(hit + need) > pEnd)) x = static_cast<std::int64_t>(hit) + 1;
    }
    if (x == 0) return 0;
    if (pWholeWord == 0) return StepNumber(x, step);
    std::size_t after = static_cast<std::size_t>(x - 1) + need;
    bool wordBefore = x > 1 && textrope::IsWordByte(value[static_cast<std::size_t>(x - 2)]);
    bool wordAfter = after < value.size() && textrope::IsWordByte(value[after]);
    if (!wordBefore && !wordAfter) return StepNumber(x, step);
    start = x + 1;
  }
}

LONG Textrope::Count(std::string_view pSearchValue, LONG pStep, LONG pStart, LONG pEnd, LONG pNoCase, LONG softClip,
                     LONG pOverlap) {
  std::size_t need = pSearchValue.size();
  if (value.empty() || need == 0) return 0;
  std::size_t step = pStep < 1 ? 1 : static_cast<std::size_t>(pStep);
  std::string folded = pNoCase != 0 ? Folded(pSearchValue) : std::string();
  std::string_view needle = pNoCase != 0 ? std::string_view(folded) : pSearchValue;
  std::size_t tail = softClip == 0 ? need - 1 : 0;
  LONG count = 0;
  std::size_t from = FirstIndex(pStart);
  Matcher(value, needle, step, pNoCase == 1).Walk(from, pOverlap != 0 ? 1 : need, [&](std::size_t hit) {
    if (pEnd > 0 && hit + 1 + tail > static_cast<std::size_t>(pEnd)) return false;
    ++count;
    return true;
  });
  return count;
}

LONG Textrope::Replace(std::string_view pOldValue, std::string_view pNewValue, LONG pCount, LONG pStart, LONG pEnd,
                       LONG pNoCase, LONG pRecursive) {
  std::size_t oldLen = pOldValue.size();
  std::size_t newLen = pNewValue.size();
  if (value.empty() || oldLen == 0) return 0;
  if (pStart < 1) pStart = 1;
  if (static_cast<std::size_t>(pStart) > value.size() || pCount < 0) return 0;
  // The value is rewritten in place: texts that are views of it are taken as they stand now.
  std::string oldCopy, newCopy;
  if (Overlaps(pOldValue, value)) pOldValue = oldCopy.assign(pOldValue);
  if (Overlaps(pNewValue, value)) pNewValue = newCopy.assign(pNewValue);

  std::string folded = pNoCase != 0 ? Folded(pOldValue) : std::string();
  std::string_view needle = pNoCase != 0 ? std::string_view(folded) : pOldValue;
  if (pRecursive != 0 && FindFrom(pNewValue, needle, 0, 1, pNoCase != 0) != kNone) {
    static constexpr std::string_view kMessage =
        "Invalid recursive replacement - the value being replaced is a substring of the new value. "
        "This will result in an infinite loop";
    ErrorTrap("Replace", kMessage);
    Trace(kMessage);
    return 0;
  }
  std::size_t end = EndIndex(pEnd, value.size());
  std::size_t first = static_cast<std::size_t>(pStart) - 1;
  bool fold = pNoCase != 0;

  if (oldLen == newLen) {
    // In place. The scan resumes after the text just written, so it is never matched again.
    LONG replaced = 0;
    if (end < oldLen) return 0;
    Matcher(value, needle, 1, fold).Walk(first, oldLen, [&](std::size_t hit) {
      if (hit > end - oldLen) return false;
      std::memcpy(value.data() + hit, pNewValue.data(), newLen);
      ++replaced;
      return pCount == 0 || replaced < pCount;
    });
    return replaced;
  }

  LONG total = 0;
  for (;;) {
    const LONG allowed = pCount > 0 ? pCount - total : textrope::kMaxLength;
    const LONG replaced = ReplacePass(value, needle, pNewValue, first, end, fold, allowed);
    if (end > value.size()) end = value.size();
    total += replaced;
    if (replaced == 0 || pRecursive == 0 || (pCount != 0 && total >= pCount) || value.empty() ||
        first >= value.size()) {
      break;
    }
  }
  return total;
}

std::string Textrope::FindBetween(std::string_view pLeft, std::string_view pRight, LONG& pStart, LONG& pEnd,
                                  LONG pNoCase, LONG pExclusive) {
  if (pStart <= 0) pStart = 1;
  if (pEnd < 0) pEnd = 0;
  pStart = textrope::IsBlank(pLeft) ? 1 : Instring(pLeft, 1, pStart, pEnd, pNoCase, 0);
  if (pStart == 0) return {};
  if (pExclusive == 1) pStart += static_cast<LONG>(pLeft.size());
  if (pRight.empty()) {
    pEnd = Length();
  } else {
    pEnd = Instring(pRight, 1, pStart, pEnd, pNoCase, 0);
    if (pEnd == 0) return {};
    pEnd = pExclusive == 1 ? pEnd - 1 : pEnd + static_cast<LONG>(pRight.size()) - 1;
  }
  if (pStart > pEnd) return {};
  return Slice(static_cast<ULONG>(pStart), static_cast<ULONG>(pEnd));
}

std::string Textrope::Between(std::string_view pLeft, std::string_view pRight, LONG pStart, LONG pEnd, LONG pNoCase,
                              LONG pExclusive) {
  return FindBetween(pLeft, pRight, pStart, pEnd, pNoCase, pExclusive);
}

std::string Textrope::Before(std::string_view pSearchValue, LONG pStart, LONG pEnd, LONG pNoCase) {
  LONG x = Instring(pSearchValue, 1, pStart, pEnd, pNoCase, 0);
  return x > 1 ? Slice(1, static_cast<ULONG>(x - 1)) : std::string();
}

std::string Textrope::After(std::string_view pSearchValue, LONG pStart, LONG pEnd, LONG pNoCase) {
  LONG x = Instring(pSearchValue, 1, pStart, pEnd, pNoCase, 0);
  if (x == 0) return {};
  std::int64_t next = static_cast<std::int64_t>(x) + static_cast<std::int64_t>(pSearchValue.size());
  if (next > Length()) return {};
  return Slice(static_cast<ULONG>(next), 0);
}

namespace {

// Changes case outside quoted stretches; whole-value conversion when no quote is given.
void ChangeCase(std::string& text, std::string_view quote, std::string_view quoteEnd, bool upper) {
  if (quote.empty()) {
    for (char& c : text) c = upper ? UpperByte(c) : textrope::LowerByte(c);
    return;
  }
  char open = quote[0];
  char close = quoteEnd.empty() ? open : quoteEnd[0];
  bool quoted = false;
  for (char& c : text) {
    if (quoted) {
      if (c == close) quoted = false;
    } else if (c == open) {
      quoted = true;
    } else {
      c = upper ? UpperByte(c) : textrope::LowerByte(c);
    }
  }
}

}  // namespace

void Textrope::Upper(std::string_view pQuote, std::string_view pQuoteEnd) {
  ChangeCase(value, pQuote, pQuoteEnd, true);
}

void Textrope::Lower(std::string_view pQuote, std::string_view pQuoteEnd) {
  ChangeCase(value, pQuote, pQuoteEnd, false);
}

std::string Textrope::Random(LONG pLength, LONG pFlags, std::string_view pAlphabet) {
  if (pLength <= 0) return {};
  if (pAlphabet.empty() && pFlags == 0) pFlags = 1;
  std::string alphabet;
  auto add = [&alphabet](std::string_view piece) {
    alphabet.resize(textrope::Clipped(alphabet).size());
    alphabet.append(piece.substr(0, 256 - std::min<std::size_t>(256, alphabet.size())));
  };
  if (pFlags & 0x40) add("GCAT");
  if (pFlags & 0x01) add("ABCDEFGHIJKLMNOPQRSTUVWXYZ");
  if (pFlags & 0x02) add("abcdefghijklmnopqrstuvwxyz");
  if (pFlags & 0x04) add("0123456789");
  if (pFlags & 0x10) add("!@#$^&*()-_+={}[]:;,.`~");
  if ((pFlags & 0x20) && !(pFlags & 0x07)) add("ABCDEF0123456789");
  add(textrope::Clipped(pAlphabet));
  alphabet.resize(textrope::Clipped(alphabet).size());
  if (alphabet.empty()) alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";

  std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
  std::string result(static_cast<std::size_t>(pLength), ' ');
  for (char& c : result) c = alphabet[pick(RandomEngine())];
  if (pFlags & 0x08) result[0] = static_cast<char>(std::uniform_int_distribution<int>('A', 'Z')(RandomEngine()));
  SetValue(result, 0);
  return value;
}
