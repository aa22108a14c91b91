#pragma once
// Where a conversion puts its units. Each converter is written once over a sink: the
// counting sink answers the sizing call, the writing sink fills a destination that the
// count has shown to be large enough.
#include <cstddef>

namespace codepages {

template <class Unit>
struct CountingSink {
  std::size_t count = 0;
  void Put(Unit) { ++count; }
  // Units that each become one unit of this sink's kind (ASCII, or bytes already mapped).
  template <class From>
  void PutAscii(const From*, std::size_t n) {
    count += n;
  }
};

template <class Unit>
struct WritingSink {
  Unit* at;
  void Put(Unit unit) { *at++ = unit; }
  template <class From>
  void PutAscii(const From* from, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) at[i] = static_cast<Unit>(from[i]);
    at += n;
  }
};

}  // namespace codepages
