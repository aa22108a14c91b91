#pragma once
// Where a conversion puts its units: every unit is counted, and written while it fits, so one
// routine answers both the sizing call and the filling call.
#include <algorithm>
#include <cstddef>
#include <cstring>

namespace win::codepage {

template <class Unit>
class Output {
 public:
  // No destination or no room: a sizing call, which only counts.
  Output(Unit* destination, std::size_t room)
      : destination_(destination), room_(destination ? room : 0), sizing_(room_ == 0) {}

  void Put(Unit unit) {
    if (count_ < room_) destination_[count_] = unit;
    ++count_;
  }
  // Bytes below 80h, each one unit.
  void PutAscii(const unsigned char* bytes, std::size_t n) {
    std::size_t fitting = count_ < room_ ? std::min(n, room_ - count_) : 0;
    Unit* out = destination_ + count_;
    if constexpr (sizeof(Unit) == 1) {
      if (fitting > 0) std::memcpy(out, bytes, fitting);
    } else {
      for (std::size_t i = 0; i < fitting; ++i) out[i] = static_cast<Unit>(bytes[i]);
    }
    count_ += n;
  }
  std::size_t Count() const { return count_; }
  bool Fitted() const { return sizing_ || count_ <= room_; }

 private:
  Unit* destination_;
  std::size_t room_;
  bool sizing_;
  std::size_t count_ = 0;
};

}  // namespace win::codepage
