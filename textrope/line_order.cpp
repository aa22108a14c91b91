#include "textrope/line_order.h"

#include <algorithm>

#include "textrope/byte_text.h"

namespace textrope {

namespace {

template <typename Map>
int ComparePadded(std::string_view a, std::string_view b, Map map) {
  const std::size_t longest = std::max(a.size(), b.size());
  for (std::size_t i = 0; i < longest; ++i) {
    auto x = static_cast<unsigned char>(map(i < a.size() ? a[i] : ' '));
    auto y = static_cast<unsigned char>(map(i < b.size() ? b[i] : ' '));
    if (x != y) return x < y ? -1 : 1;
  }
  return 0;
}

}  // namespace

int SortCaseInsensitive(const LinesGroupType& a, const LinesGroupType& b) {
  return ComparePadded(a.Line, b.Line, UpperByte);
}

int SortCaseSensitive(const LinesGroupType& a, const LinesGroupType& b) {
  return ComparePadded(a.Line, b.Line, [](char c) { return c; });
}

int SortLength(const LinesGroupType& a, const LinesGroupType& b) {
  std::size_t x = Clipped(a.Line).size();
  std::size_t y = Clipped(b.Line).size();
  return x == y ? 0 : (x < y ? -1 : 1);
}

}  // namespace textrope
