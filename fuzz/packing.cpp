// Textrope's typed packing on any bytes.
// Rules: bytes read into a variable of the same size are written back from it unchanged
// (integers, reals and decimals keep every bit); a size mismatch clears the target and never
// reads or writes beyond either side; the typed names read any variable without fault.
#include <cstdint>
#include <cstring>
#include <string>

#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_input.h"
#include "platform/win/system/debug_output.h"
#include "textrope/textrope.h"

namespace {

template <class T>
void RoundTrip(const std::string& bytes) {
  Textrope t;
  T variable{};
  t.FromBytes(bytes, variable);
  std::string back(sizeof(T), 'x');
  t.ToBytes(variable, back);
  if (bytes.size() == sizeof(T)) {
    FUZZ_CHECK(back == bytes);
  } else {
    FUZZ_CHECK(back == std::string(sizeof(T), '\0'));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Size mismatches are reported on the debug output by design; keep the run quiet.
  win::SetDebugSink([](std::string_view) {});
  fuzz::Input input(data, size);
  const int digits = 1 + static_cast<int>(input.Below(31));
  const int places = static_cast<int>(input.Below(static_cast<std::size_t>(digits) + 1));
  const std::size_t textSize = 1 + input.Below(64);
  const std::string typeName = input.Text();
  const std::string bytes = input.Rest();

  RoundTrip<BYTE>(bytes);
  RoundTrip<SHORT>(bytes);
  RoundTrip<USHORT>(bytes);
  RoundTrip<LONG>(bytes);
  RoundTrip<ULONG>(bytes);
  RoundTrip<SREAL>(bytes);
  RoundTrip<REAL>(bytes);

  Textrope t;
  DECIMAL decimal(digits, places);
  t.FromBytes(bytes, decimal);
  decimal.Text();
  decimal.Real();
  std::string back(decimal.Storage().size(), 'x');
  t.ToBytes(decimal, back);
  if (bytes.size() == decimal.Storage().size()) FUZZ_CHECK(back == bytes);

  CSTRING text(textSize);
  t.FromBytes(bytes, text);
  FUZZ_CHECK(text.Text().size() < text.Size());
  std::string fixed(textSize, ' ');
  t.FromBytes(bytes, fixed);
  FUZZ_CHECK(fixed.size() == textSize);
  back.assign(textSize, 'x');
  t.ToBytes(fixed, back);
  FUZZ_CHECK(back == fixed);

  // The generic pair, by any type name, into variables of every kind.
  t.value = bytes;
  LONG number = 0;
  REAL real = 0;
  t.GetBytes(VariableRef(number), typeName);
  t.GetBytes(VariableRef(real), typeName);
  t.GetBytes(VariableRef(decimal), typeName);
  t.GetBytes(VariableRef(text), typeName);
  t.SetBytes(VariableRef(fixed), typeName);
  t.SetBytes(VariableRef(real), typeName);
  win::SetDebugSink({});
  return 0;
}
