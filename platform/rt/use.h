#pragma once
// A control's USE binding: the address of a program variable and how to convert it to and
// from the text a control shows. The cell holds a full pointer.
#include <string>
#include <string_view>

#include "platform/win/types.h"

namespace rt {

class Use {
 public:
  Use() = default;
  Use(BYTE& cell) : type_(Type::Byte), cell_(&cell) {}
  Use(SHORT& cell) : type_(Type::Short), cell_(&cell) {}
  Use(LONG& cell) : type_(Type::Long), cell_(&cell) {}
  Use(REAL& cell) : type_(Type::Real), cell_(&cell) {}
  Use(std::string& cell) : type_(Type::Text), cell_(&cell) {}

  bool Bound() const { return cell_ != nullptr; }
  const void* Address() const { return cell_; }
  std::string Get() const;
  // Numbers take the leading number of the text (0 when there is none) and wrap to the
  // variable's width as an assignment does: 300 into a BYTE is 44.
  void Set(std::string_view text) const;

 private:
  enum class Type { None, Byte, Short, Long, Real, Text };
  Type type_ = Type::None;
  void* cell_ = nullptr;
};

// The leading number of a text, as the runtime converts text to numbers ("12ab" is 12,
// "ab" is 0).
long long TextToNumber(std::string_view text);
double TextToReal(std::string_view text);

}  // namespace rt
