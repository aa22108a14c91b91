#pragma once
// Replace with different lengths as it was built before it became one pass: count the
// matches, then copy them into a block of exactly the result's size, pass after pass. Kept as
// the reference that the one-pass replacement must equal. The recursion guard is the same.
#include <string>
#include <string_view>
#include <vector>

#include "textrope/byte_text.h"

inline LONG ReferenceReplace(std::string& value, std::string_view oldText, std::string_view newText, LONG count,
                             LONG start, LONG end, LONG noCase, LONG recursive) {
  auto fold = [&](std::string_view text) {
    std::string folded(text);
    if (noCase != 0) {
      for (char& c : folded) c = textrope::UpperByte(c);
    }
    return folded;
  };
  const std::string needle = fold(oldText);
  if (value.empty() || oldText.empty()) return 0;
  if (start < 1) start = 1;
  if (static_cast<std::size_t>(start) > value.size() || count < 0) return 0;
  if (recursive != 0 && fold(newText).find(needle) != std::string::npos) return 0;
  std::size_t last = (end < 1 || static_cast<std::size_t>(end) > value.size()) ? value.size() : end;
  const std::size_t first = static_cast<std::size_t>(start) - 1;
  LONG total = 0;
  for (;;) {
    std::vector<std::size_t> matches;  // non-overlapping, each wholly inside the window
    const std::string hay = fold(value);
    for (std::size_t p = first; p + needle.size() <= last;) {
      if (hay.compare(p, needle.size(), needle) == 0) {
        matches.push_back(p);
        p += needle.size();
      } else {
        ++p;
      }
    }
    std::size_t n = matches.size();
    if (count > 0) n = std::min<std::size_t>(n, static_cast<std::size_t>(count - total));
    if (n == 0) break;
    const long long grown = static_cast<long long>(value.size()) +
                            (static_cast<long long>(newText.size()) - static_cast<long long>(oldText.size())) *
                                static_cast<long long>(n);
    if (grown > textrope::kMaxLength) break;
    std::string out(static_cast<std::size_t>(grown), ' ');
    std::size_t from = 0, to = 0;
    for (std::size_t i = 0; i < n; ++i) {
      out.replace(to, matches[i] - from, value, from, matches[i] - from);
      to += matches[i] - from;
      out.replace(to, newText.size(), newText);
      to += newText.size();
      from = matches[i] + oldText.size();
    }
    out.replace(to, value.size() - from, value, from, std::string::npos);
    value = out;
    if (last > value.size()) last = value.size();
    total += static_cast<LONG>(n);
    if (recursive == 0 || (count != 0 && total >= count) || value.empty() || first >= value.size()) break;
  }
  return total;
}
