#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "textrope/byte_text.h"
#include "textrope/line_order.h"
#include "textrope/textrope.h"

using textrope::Clipped;
using textrope::IsBlank;

namespace {

constexpr std::size_t kQuoteTextLimit = 255;

struct QuotePair {
  std::string start;
  std::string end;
};

// How Split turns the bytes before a boundary into a line.
struct PieceRule {
  bool removeQuotes = false;
  bool clip = false;
  bool left = false;

  std::string Line(std::string_view piece, const QuotePair* quotes) const {
    if (removeQuotes && quotes != nullptr) {
      if (!quotes->start.empty() && piece.starts_with(quotes->start)) piece.remove_prefix(quotes->start.size());
      if (!quotes->end.empty() && piece.ends_with(quotes->end)) piece.remove_suffix(quotes->end.size());
    }
    if (piece.empty()) return " ";
    std::size_t lead = 0;
    if (left) {
      while (lead < piece.size() && piece[lead] == ' ') ++lead;
    }
    if (clip && left) return std::string(Clipped(piece.substr(lead)));
    if (clip) return std::string(Clipped(piece));
    if (left) return std::string(piece.substr(lead)).append(lead, ' ');
    return std::string(piece);
  }
};

bool MatchesAt(std::string_view text, std::size_t x, std::string_view what) {
  return !what.empty() && x + what.size() <= text.size() && std::memcmp(text.data() + x, what.data(), what.size()) == 0;
}

bool ContainsText(std::string_view line, std::string_view what) {
  return !what.empty() && line.find(what) != std::string_view::npos;
}

std::string Folded(std::string_view text) {
  std::string folded(text);
  for (char& c : folded) c = textrope::UpperByte(c);
  return folded;
}

bool EqualPadded(std::string_view a, std::string_view b) {
  LinesGroupType x{std::string(a)}, y{std::string(b)};
  return textrope::SortCaseSensitive(x, y) == 0;
}

// The quote pairs of Split: one pair, or with a separator that occurs in the start quotes,
// start quote i paired with end quote i (an end quote that is missing is its start quote).
std::vector<QuotePair> QuotePairs(std::string_view start, std::string_view end, std::string_view separator) {
  std::string_view startText = Clipped(start).substr(0, kQuoteTextLimit);
  std::string_view endText = IsBlank(end) ? startText : end.substr(0, kQuoteTextLimit);
  if (!IsBlank(separator) && start.find(separator) != std::string_view::npos) {
    Textrope starts, ends;
    starts.SetValue(start);
    starts.Split(separator);
    if (starts.Records() > 1) {
      ends.SetValue(endText);
      ends.Split(separator);
      std::vector<QuotePair> pairs;
      for (LONG i = 1; i <= starts.Records(); ++i) {
        QuotePair pair{std::string(Clipped(starts.GetLine(i)).substr(0, kQuoteTextLimit)),
                       std::string(Clipped(ends.GetLine(i)).substr(0, kQuoteTextLimit))};
        if (pair.end.empty()) pair.end = pair.start;
        pairs.push_back(std::move(pair));
      }
      return pairs;
    }
  }
  return {QuotePair{std::string(startText), std::string(endText)}};
}

}  // namespace

void Textrope::Split(std::string_view pSplitStr, std::string_view pQuoteStart, std::string_view pQuoteEnd,
                     LONG removeQuotes, LONG pClip, LONG pLeft, std::string_view pSeparator, LONG pNested) {
  FreeLines();
  if (value.empty()) return;
  const bool quoting = !IsBlank(pQuoteStart);
  const PieceRule rule{quoting && removeQuotes != 0, pClip != 0, pLeft != 0};
  const std::string_view text = value;
  const std::size_t n = text.size();
  const std::size_t boundary = pSplitStr.size();
  if (boundary == 0) {
    lines.push_back({std::string(text)});
    return;
  }

  if (!quoting) {
    LONG start = 1;
    for (;;) {
      LONG found = FindChars(pSplitStr, start, 0);
      if (found == 0) {
        lines.push_back({rule.Line(text.substr(static_cast<std::size_t>(start) - 1), nullptr)});
        return;
      }
      lines.push_back({rule.Line(text.substr(static_cast<std::size_t>(start) - 1, static_cast<std::size_t>(found - start)), nullptr)});
      std::size_t next = static_cast<std::size_t>(found) + boundary;
      if (next > n) return;  // a boundary at the very end adds no empty line
      start = static_cast<LONG>(next);
    }
  }

  const std::vector<QuotePair> pairs = QuotePairs(pQuoteStart, pQuoteEnd, pSeparator);
  const QuotePair* open = nullptr;        // the pair of the quote we are inside
  const QuotePair* pieceQuotes = pairs.size() == 1 ? &pairs[0] : nullptr;
  const bool nested = pNested != 0;
  std::size_t depth = 0;
  std::size_t start = 0;
  std::size_t x = 0;
  auto addPiece = [&](std::size_t end) {
    lines.push_back({rule.Line(text.substr(start, end - start), pieceQuotes)});
    if (pairs.size() > 1) pieceQuotes = nullptr;
  };
  while (x < n) {
    if (open == nullptr) {
      if (MatchesAt(text, x, pSplitStr)) {
        addPiece(x);
        x += boundary;
        start = x;
        continue;
      }
      // A start quote on the last byte opens nothing: there is nothing left to quote.
      for (const QuotePair& pair : pairs) {
        if (MatchesAt(text, x, pair.start) && x + pair.start.size() < n) {
          open = &pair;
          break;
        }
      }
      if (open != nullptr) {
        pieceQuotes = open;
        depth = 0;
        x += open->start.size();
      } else {
        ++x;
      }
      continue;
    }
    if (nested && open->start != open->end && MatchesAt(text, x, open->start)) {
      ++depth;
      ++x;
    } else if (MatchesAt(text, x, open->end) && x + open->end.size() < n) {
      if (nested && depth > 0) {
        --depth;
        ++x;
      } else {
        x += open->end.size();
        open = nullptr;
      }
    } else {
      ++x;
    }
  }
  if (start < n) addPiece(n);
}

void Textrope::SplitEvery(LONG numChars) {
  FreeLines();
  if (value.empty() || numChars < 1) return;
  const std::size_t step = static_cast<std::size_t>(numChars);
  lines.reserve((value.size() + step - 1) / step);
  for (std::size_t at = 0; at < value.size(); at += step) lines.push_back({value.substr(at, step)});
}

void Textrope::Join(std::string_view pBoundary, std::string_view pQuoteStart, std::string_view pQuoteEnd) {
  Free(0);
  const char open = pQuoteStart.empty() ? ' ' : pQuoteStart[0];
  const char close = IsBlank(pQuoteEnd) ? open : pQuoteEnd[0];
  const bool quoting = open != ' ';
  // Built in one block and handed over once: the value keeps no reserve, so appending line
  // by line would copy the whole text for every line. Quotes may add two bytes a line.
  std::size_t total = 0;
  for (const LinesGroupType& row : lines) total += row.Line.size() + pBoundary.size() + (quoting ? 2 : 0);
  if (!lines.empty()) total -= pBoundary.size();
  std::string joined;
  joined.reserve(total);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines[i].Line;
    if (i > 0) joined.append(pBoundary);
    if (quoting && ContainsText(line, pBoundary)) {
      bool opens = !line.empty() && line.front() == open;
      bool closes = !line.empty() && line.back() == close;
      if (!opens) joined += open;
      joined.append(line);
      if (!closes) joined += close;
    } else {
      joined.append(line);
    }
  }
  if (joined.size() != joined.capacity()) joined.shrink_to_fit();
  value = std::move(joined);
}

void Textrope::Sort(LONG pSortType) {
  int (*order)(const LinesGroupType&, const LinesGroupType&) = nullptr;
  switch (pSortType) {
    case 1: order = textrope::SortCaseInsensitive; break;
    case 2: order = textrope::SortCaseSensitive; break;
    case 4: order = textrope::SortLength; break;
    default: return;
  }
  // Stable: lines with equal keys keep their order.
  std::stable_sort(lines.begin(), lines.end(),
                   [order](const LinesGroupType& a, const LinesGroupType& b) { return order(a, b) < 0; });
}

void Textrope::Sort(LONG pSortType, std::string_view pSplitStr, std::string_view pQuoteStart,
                    std::string_view pQuoteEnd, LONG pClip, LONG pLeft) {
  Split(pSplitStr, pQuoteStart, pQuoteEnd, 1, pClip, pLeft);
  Sort(pSortType);
  Join(pSplitStr, pQuoteStart, pQuoteEnd);
  FreeLines();
}

LONG Textrope::Records() { return static_cast<LONG>(lines.size()); }

std::string Textrope::GetLine(LONG pLineNumber) {
  if (pLineNumber < 1 || pLineNumber > Records()) return {};
  return lines[static_cast<std::size_t>(pLineNumber) - 1].Line;
}

void Textrope::SetLine(LONG pLineNumber, std::string_view pValue) {
  if (pLineNumber < 1 || pLineNumber > Records()) {
    AddLine(pLineNumber, pValue);
    return;
  }
  lines[static_cast<std::size_t>(pLineNumber) - 1].Line = std::string(pValue);
}

void Textrope::AddLine(LONG pLineNumber, std::string_view pValue) {
  std::size_t at = std::clamp<LONG>(pLineNumber, 1, Records() + 1) - 1;
  lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), LinesGroupType{std::string(pValue)});
}

LONG Textrope::DeleteLine(LONG pLineNumber) {
  if (pLineNumber < 1 || pLineNumber > Records()) return 1;
  lines.erase(lines.begin() + (pLineNumber - 1));
  return 0;
}

LONG Textrope::RemoveLines(std::string_view pAlphabet) {
  const std::string blanksAndAlphabet = " " + std::string(pAlphabet);
  LONG removed = 0;
  for (LONG n = Records(); n >= 1; --n) {
    std::string_view line = lines[static_cast<std::size_t>(n) - 1].Line;
    bool drop = IsBlank(line) || (!IsBlank(pAlphabet) && IsAll(blanksAndAlphabet, line) != 0);
    if (drop) {
      DeleteLine(n);
      ++removed;
    }
  }
  return removed;
}

LONG Textrope::InLine(std::string_view pSearchValue, LONG pStep, LONG pStart, LONG pEnd, LONG pNoCase,
                      LONG pWholeLine) {
  const LONG count = Records();
  if (pEnd == 0 || pEnd > count) pEnd = count;
  if (pEnd < pStart) pEnd = pStart;
  if (pStart < 1) pStart = 1;
  if (pStep < 1) pStep = 1;  // a step that does not advance would never end
  const std::string search = pNoCase != 0 ? Folded(pSearchValue) : std::string(pSearchValue);
  for (LONG n = pStart; n <= pEnd && n <= count; n += pStep) {
    const std::string& raw = lines[static_cast<std::size_t>(n) - 1].Line;
    const std::string line = pNoCase != 0 ? Folded(raw) : raw;
    bool match = pWholeLine != 0 ? EqualPadded(line, search) : ContainsText(line, search);
    if (match) return n;
  }
  return 0;
}

void Textrope::Filter(std::string_view pInclude, std::string_view pExclude) {
  const std::string include = Folded(Clipped(pInclude));
  const std::string exclude = Folded(Clipped(pExclude));
  for (LONG n = Records(); n >= 1; --n) {
    const std::string line = Folded(lines[static_cast<std::size_t>(n) - 1].Line);
    bool drop = (!include.empty() && !ContainsText(line, include)) || (!exclude.empty() && ContainsText(line, exclude));
    if (drop) DeleteLine(n);
  }
}
