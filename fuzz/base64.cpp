// Textrope's Base64 and encoded words on any bytes.
// Rules: decoding gives back what encoding was given, wrapped or not, whole or into a
// buffer; decoding skips what is not Base64, so it reads the text without those bytes alike;
// an encoded word decodes to its text; decoding anything never fails loudly.
#include <cstdint>
#include <string>

#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_input.h"
#include "textrope/textrope.h"

namespace {

bool IsBase64Letter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '+' || c == '/' ||
         c == '=';
}

std::string Decoded(const std::string& text) {
  Textrope t;
  t.value = text;
  t.Base64Decode();
  return t.value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Input input(data, size);
  const bool noWrap = input.Byte() & 1;
  const bool quoted = input.Byte() & 1;
  const std::string bytes = input.Rest();

  Textrope t;
  t.value = bytes;
  t.base64NoWrap = noWrap;
  t.Base64Encode();
  FUZZ_CHECK(bytes.empty() || t.base64 == 1);
  const std::string encoded = t.value;
  t.Base64Decode();
  FUZZ_CHECK(t.value == bytes);
  FUZZ_CHECK(t.base64 == 0);

  // Into buffers: exactly as large as needed, the same bytes.
  Textrope source;
  source.value = bytes;
  source.base64NoWrap = noWrap;
  std::string text(encoded.size() + 8, '\0');
  LONG length = 0;
  source.Base64Encode(text, length);
  if (!bytes.empty()) {
    text.resize(static_cast<std::size_t>(length));
    Textrope back;
    back.value = text;
    std::string plain(bytes.size() + 8, '\0');
    LONG plainLength = 0;
    back.Base64Decode(plain, plainLength);
    FUZZ_CHECK(plain.substr(0, static_cast<std::size_t>(plainLength)) == bytes);
  }

  // Any text decodes; bytes outside the alphabet do not count.
  std::string letters;
  for (char c : bytes) {
    if (IsBase64Letter(c)) letters += c;
  }
  FUZZ_CHECK(Decoded(bytes) == Decoded(letters));

  // An encoded word: Base64 (1) or quoted-printable (Q), back to the same text.
  Textrope word;
  word.value = bytes;
  word.EncodedWordEncode("utf-8", quoted ? 2 : 1);
  word.EncodedWordDecode();
  if (bytes.find_first_of("\r\n") == std::string::npos) FUZZ_CHECK(word.value == bytes, "word [" + word.value + "]");
  Textrope any;
  any.value = "=" + bytes + "=";
  any.EncodedWordDecode();
  return 0;
}
