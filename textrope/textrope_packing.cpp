#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <type_traits>

#include "textrope/byte_text.h"
#include "textrope/textrope.h"

namespace {

template <class T>
concept Number = std::is_arithmetic_v<T>;

// ---- The bytes of a typed variable ----

template <Number T>
std::string_view BytesOf(const T& v) {
  return {reinterpret_cast<const char*>(&v), sizeof v};
}
std::string_view BytesOf(const DECIMAL& v) {
  return {reinterpret_cast<const char*>(v.Storage().data()), v.Storage().size()};
}
std::string_view BytesOf(const CSTRING& v) { return v.Text(); }
std::string_view BytesOf(const std::string& v) { return v; }

// The callers have checked that `bytes` is exactly as long as the variable's bytes.
template <Number T>
void Overwrite(T& v, std::string_view bytes) {
  std::memcpy(&v, bytes.data(), sizeof v);
}
void Overwrite(DECIMAL& v, std::string_view bytes) { std::memmove(v.Storage().data(), bytes.data(), bytes.size()); }
void Overwrite(CSTRING& v, std::string_view bytes) {
  std::memmove(v.Data(), bytes.data(), bytes.size());
  v.Data()[bytes.size()] = '\0';
}
void Overwrite(std::string& v, std::string_view bytes) { std::memmove(v.data(), bytes.data(), bytes.size()); }

template <Number T>
void Clear(T& v) {
  v = T{};
}
void Clear(DECIMAL& v) { std::fill(v.Storage().begin(), v.Storage().end(), BYTE{0}); }
void Clear(CSTRING& v) { v.SetText({}); }
void Clear(std::string& v) { std::fill(v.begin(), v.end(), '\0'); }

// A caller's mistake, reported where a developer looks; the operation then goes on.
void ReportAssertion(Textrope& t, const std::string& message) { t.Trace(message); }

template <class T>
void ToBytesOf(Textrope& t, const T& pVal, std::string& bVals) {
  const std::string_view bytes = BytesOf(pVal);
  if (bVals.size() != bytes.size()) {
    ReportAssertion(t, "Textrope Error in ToBytes: The parameters are not the same length in bytes!");
    std::fill(bVals.begin(), bVals.end(), '\0');
    return;
  }
  std::memmove(bVals.data(), bytes.data(), bytes.size());
}

template <class T>
void FromBytesOf(Textrope& t, std::string_view bVals, T& pVal) {
  if (bVals.size() != BytesOf(pVal).size()) {
    ReportAssertion(t, "Textrope Error in FromBytes: The parameters are not the same length in bytes!");
    Clear(pVal);
    return;
  }
  Overwrite(pVal, bVals);
}

template <class T>
void SetBytesOf(Textrope& t, const T& pVal) {
  const std::string bytes(BytesOf(pVal));  // pVal may be the value itself
  t.SetLength(static_cast<LONG>(bytes.size()));
  if (!bytes.empty()) std::memcpy(t.value.data(), bytes.data(), bytes.size());
}

// ---- Types named by text ----

template <Number T>
std::string Image(T v) {
  return std::string(BytesOf(v));
}

// The bytes of a number stored as the named type, or none for a type that is not a number.
std::optional<std::string> NumberImage(std::string_view type, double number) {
  if (type == "BYTE") return Image(textrope::NumberToByte(number));
  if (type == "SHORT") return Image(textrope::NumberToShort(number));
  if (type == "USHORT") return Image(textrope::NumberToUshort(number));
  if (type == "LONG") return Image(textrope::NumberToLong(number));
  if (type == "ULONG") return Image(textrope::NumberToUlong(number));
  if (type == "SREAL") return Image(textrope::NumberToSreal(number));
  if (type == "REAL" || type == "DECIMAL") return Image(number);
  return std::nullopt;
}

std::optional<std::size_t> NumberSize(std::string_view type) {
  if (auto image = NumberImage(type, 0)) return image->size();
  return std::nullopt;
}

template <Number T>
double Read(std::string_view bytes) {
  T v;
  std::memcpy(&v, bytes.data(), sizeof v);
  return static_cast<double>(v);
}

// `bytes` is exactly as long as the named number type.
double ReadNumber(std::string_view type, std::string_view bytes) {
  if (type == "BYTE") return Read<BYTE>(bytes);
  if (type == "SHORT") return Read<SHORT>(bytes);
  if (type == "USHORT") return Read<USHORT>(bytes);
  if (type == "LONG") return Read<LONG>(bytes);
  if (type == "ULONG") return Read<ULONG>(bytes);
  if (type == "SREAL") return Read<SREAL>(bytes);
  return Read<REAL>(bytes);
}

bool IsTextType(std::string_view type) { return type == "STRING" || type == "CSTRING"; }

}  // namespace

#define TEXTROPE_TYPED_PACKING(T)                                                                \
  void Textrope::ToBytes(const T& pVal, std::string& bVals) { ToBytesOf(*this, pVal, bVals); }   \
  void Textrope::FromBytes(std::string_view bVals, T& pVal) { FromBytesOf(*this, bVals, pVal); } \
  void Textrope::SetBytes(const T& pVal) { SetBytesOf(*this, pVal); }                            \
  void Textrope::GetBytes(T& pVal) { FromBytes(value, pVal); }

TEXTROPE_TYPED_PACKING(BYTE)
TEXTROPE_TYPED_PACKING(SHORT)
TEXTROPE_TYPED_PACKING(USHORT)
TEXTROPE_TYPED_PACKING(LONG)
TEXTROPE_TYPED_PACKING(ULONG)
TEXTROPE_TYPED_PACKING(SREAL)
TEXTROPE_TYPED_PACKING(REAL)
TEXTROPE_TYPED_PACKING(DECIMAL)
TEXTROPE_TYPED_PACKING(CSTRING)
TEXTROPE_TYPED_PACKING(std::string)

#undef TEXTROPE_TYPED_PACKING

LONG Textrope::SetBytes(VariableRef pVal, std::string_view pType) {
  Free(0);
  const std::string_view type = textrope::Clipped(pType);
  std::optional<std::string> bytes;
  if (IsTextType(type)) {
    bytes = pVal.Text();
    if (bytes->empty()) {
      ErrorTrap("Textrope.SetBytes", "Cannot store the passed string, the length is zero");
      return 0;
    }
  } else {
    bytes = NumberImage(type, pVal.Number());
    if (!bytes) {
      ErrorTrap("Textrope.SetBytes", "Cannot store the passed value, it is not of a valid type (" + std::string(type) +
                                         " is not supported)");
      return 0;
    }
  }
  SetLength(static_cast<LONG>(bytes->size()));
  std::memcpy(value.data(), bytes->data(), bytes->size());
  return 1;
}

LONG Textrope::GetBytes(VariableRef pVal, std::string_view pType) {
  const std::string type(textrope::Clipped(pType));
  std::optional<std::size_t> size = IsTextType(type) ? pVal.Text().size() : NumberSize(type);
  if (!size) {
    ErrorTrap("Textrope.GetBytes", "Unsupported data type: " + type);
    return 0;
  }
  if (value.size() != *size) {
    ReportAssertion(*this, "Textrope.GetBytes error. " + std::to_string(value.size()) + " bytes stored, " +
                               std::to_string(*size) + " bytes required for type: " + type);
    pVal.SetNumber(0);
    return 0;
  }
  if (IsTextType(type)) {
    pVal.SetText(value);
  } else {
    pVal.SetNumber(ReadNumber(type, value));
  }
  return 1;
}
