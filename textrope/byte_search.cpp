#include "textrope/byte_search.h"

namespace textrope {

std::size_t ByteFinder::NextSingleByte(std::size_t from) const {
  const void* hit = std::memchr(hay_.data() + from, needle_[0], hay_.size() - from);
  return hit == nullptr ? npos : static_cast<std::size_t>(static_cast<const char*>(hit) - hay_.data());
}

std::size_t ByteFinder::NextNearTheEnd(std::size_t from) const {
  for (const std::size_t lastStart = hay_.size() - needle_.size(); from <= lastStart; ++from) {
    if (EndsMatch(from) && MiddleMatches(from)) return from;
  }
  return npos;
}

}  // namespace textrope
