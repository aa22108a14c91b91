#pragma once
// The variable types that the typed packing methods of Textrope move to and from bytes,
// beside the plain integers and reals of platform/win/types.h: a 32-bit real, a packed
// decimal, a zero-terminated text in a fixed buffer (a fixed-length, blank-padded text is a
// std::string whose size is its declared length), and a reference to a variable of any of
// them that reads and assigns numbers and texts as assignment between the types converts.
#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/win/types.h"

using SREAL = float;

// A signed decimal of `digits` digits, `places` of them after the point. Its storage is
// digits / 2 + 1 bytes of packed BCD, most significant first: the first nibble is the sign
// (0 positive, 0Fh negative) and the digits fill the last nibbles. All-zero storage is 0.
class DECIMAL {
 public:
  // digits 1 to 31; places 0 to digits.
  DECIMAL(int digits, int places, double value = 0);
  int Digits() const { return digits_; }
  int Places() const { return places_; }
  double Real() const;
  // Rounded to the nearest value the places hold; a magnitude beyond the digits becomes the
  // largest one they hold, and a NaN 0.
  void SetReal(double value);
  std::span<BYTE> Storage() { return storage_; }
  std::span<const BYTE> Storage() const { return storage_; }
  // "-12.50" for 4 digits and 2 places.
  std::string Text() const;

 private:
  int Nibble(std::size_t n) const;
  void SetNibble(std::size_t n, int value);
  int digits_;
  int places_;
  std::vector<BYTE> storage_;
};

// A zero-terminated text in a buffer of a fixed size; the text holds at most size - 1 bytes.
class CSTRING {
 public:
  explicit CSTRING(std::size_t size, std::string_view text = {});
  // Up to the first NUL.
  std::string_view Text() const;
  // Cut to size - 1 bytes and terminated.
  void SetText(std::string_view text);
  std::size_t Size() const { return buffer_.size(); }
  char* Data() { return buffer_.data(); }

 private:
  std::vector<char> buffer_;
};

// A reference to a variable of one of the packing types. Numbers assigned to an integer
// are truncated toward zero through the integer the platform converts with (SHORT for BYTE,
// LONG for USHORT, a 64-bit integer for ULONG), whose low bytes are kept; a number beyond
// that integer's range becomes its most negative value. Texts read as numbers by their
// leading number (0 when there is none); numbers read as texts in their shortest form.
class VariableRef {
 public:
  VariableRef(BYTE& v) : target_(&v) {}
  VariableRef(SHORT& v) : target_(&v) {}
  VariableRef(USHORT& v) : target_(&v) {}
  VariableRef(LONG& v) : target_(&v) {}
  VariableRef(ULONG& v) : target_(&v) {}
  VariableRef(SREAL& v) : target_(&v) {}
  VariableRef(REAL& v) : target_(&v) {}
  VariableRef(DECIMAL& v) : target_(&v) {}
  VariableRef(CSTRING& v) : target_(&v) {}
  VariableRef(std::string& v) : target_(&v) {}

  double Number() const;
  std::string Text() const;
  void SetNumber(double value);
  void SetText(std::string_view text);

 private:
  std::variant<BYTE*, SHORT*, USHORT*, LONG*, ULONG*, SREAL*, REAL*, DECIMAL*, CSTRING*, std::string*> target_;
};

namespace textrope {

// The platform's conversion of a number to each integer type, as explained above.
BYTE NumberToByte(double value);
SHORT NumberToShort(double value);
USHORT NumberToUshort(double value);
LONG NumberToLong(double value);
ULONG NumberToUlong(double value);
// Rounded to the nearest 32-bit real; beyond its range an infinity of the same sign.
SREAL NumberToSreal(double value);

}  // namespace textrope
