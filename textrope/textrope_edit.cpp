#include <algorithm>
#include <cstring>
#include <functional>

#include "textrope/byte_text.h"
#include "textrope/textrope.h"

using textrope::Clipped;

namespace {

// True when text lies inside the value's block, which a reallocation would release.
bool Aliases(std::string_view text, const std::string& value) {
  std::less_equal<const char*> le;
  return !text.empty() && !value.empty() && le(value.data(), text.data()) &&
         le(text.data(), value.data() + value.size());
}

// The value without bytes first0 .. first0 + count - 1, in a block of the new exact size.
std::string WithoutRange(const std::string& value, std::size_t first0, std::size_t count) {
  std::string out;
  out.reserve(value.size() - count);
  out.append(value, 0, first0).append(value, first0 + count, std::string::npos);
  return out;
}

bool IsFiller(char c, LONG what) {
  return (c == ' ' && (what & 1)) || (c == '\t' && (what & 2)) || (c == '\r' && (what & 4)) ||
         (c == '\n' && (what & 8));
}

bool IsTagNameEnd(char c) {
  return c == '>' || c == '/' || c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

// Result length of the justifying methods: pLength, or the value's own length for 0.
std::size_t JustifiedLength(LONG pLength, std::size_t valueLength) {
  if (pLength == 0) return valueLength;
  return pLength < 0 ? 0 : static_cast<std::size_t>(pLength);
}

}  // namespace

void Textrope::RemoveAttributes(std::string_view pTag) {
  std::string_view name = Clipped(pTag);
  std::string opening = "<" + std::string(name);
  const LONG step = static_cast<LONG>(opening.size());
  LONG from = 1;
  for (;;) {
    LONG lt = FindChars(opening, from, 0);
    if (lt == 0) return;
    std::size_t afterName = static_cast<std::size_t>(lt - 1) + opening.size();  // 0-based
    // "<td" must not match "<tdx": the name has to end here.
    if (afterName < value.size() && IsTagNameEnd(value[afterName])) {
      LONG gt = FindChar(">", static_cast<LONG>(afterName) + 1, 0);
      if (gt == 0) return;
      std::size_t gt0 = static_cast<std::size_t>(gt - 1);
      if (gt0 > afterName) value = WithoutRange(value, afterName, gt0 - afterName);
    }
    from = lt + step;
  }
}

LONG Textrope::Remove(std::string_view pLeft, std::string_view pRight, LONG pNoCase, LONG pContentsOnly, LONG pCount) {
  if (pRight.empty()) return Replace(pLeft, "", pCount, 1, 0, pNoCase, 0);
  const LONG leftLen = static_cast<LONG>(Clipped(pLeft).size());
  const LONG rightLen = static_cast<LONG>(Clipped(pRight).size());
  LONG removed = 0;
  LONG previous = 0;
  for (;;) {
    LONG left = Instring(pLeft, 1, previous + 1, 0, pNoCase, 0);
    if (left == 0) return removed;
    LONG right = Instring(pRight, 1, left + leftLen, 0, pNoCase, 0);
    if (right == 0) return removed;
    std::int64_t first, last;  // 1-based, inclusive
    if (pContentsOnly != 0) {
      first = static_cast<std::int64_t>(left) + leftLen;
      last = static_cast<std::int64_t>(right) - 1;
      previous = left;
    } else {
      first = left;
      last = static_cast<std::int64_t>(right) + rightLen - 1;
      previous = left - 1;
    }
    if (last < first) {
      // Nothing between the markers. Without contents-only the search would start at the
      // same place again for ever, so that ends the work.
      if (pContentsOnly == 0) return removed;
      continue;
    }
    value = WithoutRange(value, static_cast<std::size_t>(first - 1), static_cast<std::size_t>(last - first + 1));
    ++removed;
    if (pCount != 0 && removed >= pCount) return removed;
  }
}

void Textrope::Clip() {
  std::string_view clipped = Clipped(value);
  if (clipped.size() != value.size()) SetValue(clipped, 0);
}

void Textrope::Trim() {
  std::string_view text = Clipped(value);
  text.remove_prefix(std::min(text.size(), text.find_first_not_of(' ')));
  SetValue(text, 0);
}

std::string Textrope::Left(LONG pLength, LONG pWhat, std::string_view pPad) {
  const char pad = pPad.empty() ? ' ' : pPad[0];
  std::size_t n = JustifiedLength(pLength, value.size());
  std::size_t x = 0;
  while (x < value.size() && IsFiller(value[x], pWhat)) ++x;
  std::string_view rest = std::string_view(value).substr(x);
  if (rest.size() >= n) return std::string(rest.substr(0, n));
  std::string result(rest);
  result.append(n - rest.size(), pad);
  return result;
}

void Textrope::SetLeft(LONG pLength, LONG pWhat, std::string_view pPad) { SetValue(Left(pLength, pWhat, pPad), 0); }

std::string Textrope::Right(LONG pLength, LONG pWhat, std::string_view pPad) {
  const char pad = pPad.empty() ? ' ' : pPad[0];
  std::size_t n = JustifiedLength(pLength, value.size());
  std::size_t e = value.size();
  while (e > 0 && IsFiller(value[e - 1], pWhat)) --e;
  std::string_view kept = std::string_view(value).substr(0, e);
  if (e >= n) return std::string(kept.substr(e - n));
  std::string result(n - e, pad);
  result.append(kept);
  return result;
}

void Textrope::SetRight(LONG pLength, LONG pWhat, std::string_view pPad) {
  SetValue(Right(pLength, pWhat, pPad), 0);
}

std::string Textrope::All(LONG pLength) {
  if (value.empty() || pLength < 1) return {};
  std::string result(static_cast<std::size_t>(pLength), ' ');
  for (std::size_t i = 0; i < result.size(); i += value.size()) {
    std::memcpy(result.data() + i, value.data(), std::min(value.size(), result.size() - i));
  }
  return result;
}

void Textrope::SetAll(LONG pLength) { SetValue(All(pLength), 0); }

std::string Textrope::Str() { return value; }

std::string Textrope::Str(std::string_view newValue) {
  if (newValue.empty()) {
    Free(0);
    return {};
  }
  SetValue(newValue, 0);
  return value;
}

void Textrope::SetSlice(ULONG pStart, ULONG pEnd, std::string_view newValue) {
  if (pStart < 1) return;
  std::uint64_t last = pEnd;
  if (last == 0) last = newValue.empty() ? pStart : std::uint64_t{pStart} + newValue.size() - 1;
  if (last < pStart || last > static_cast<std::uint64_t>(textrope::kMaxLength)) return;
  std::string copy;
  if (Aliases(newValue, value)) newValue = copy.assign(newValue);
  if (last > value.size()) SetLength(static_cast<LONG>(last));
  std::size_t first0 = pStart - 1;
  std::size_t width = static_cast<std::size_t>(last - pStart + 1);
  std::size_t written = std::min(width, newValue.size());
  std::memcpy(value.data() + first0, newValue.data(), written);
  std::memset(value.data() + first0 + written, ' ', width - written);
}

void Textrope::Insert(ULONG pStart, std::string_view insertValue) {
  if (pStart < 1 || insertValue.empty()) return;
  std::uint64_t length = value.size();
  std::uint64_t newLength =
      pStart > length ? std::uint64_t{pStart} + insertValue.size() - 1 : length + insertValue.size();
  if (newLength > static_cast<std::uint64_t>(textrope::kMaxLength)) return;
  std::size_t at = std::min<std::size_t>(pStart - 1, value.size());
  std::string out(static_cast<std::size_t>(newLength), ' ');
  std::memcpy(out.data(), value.data(), at);
  std::memcpy(out.data() + (pStart - 1), insertValue.data(), insertValue.size());
  std::memcpy(out.data() + (pStart - 1) + insertValue.size(), value.data() + at, value.size() - at);
  value = std::move(out);
}
