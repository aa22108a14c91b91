#include <string>

#include "textrope/base64_coder.h"
#include "textrope/byte_text.h"
#include "textrope/fresh_block.h"
#include "textrope/textrope.h"

namespace {

const unsigned char* Bytes(const std::string& text) { return reinterpret_cast<const unsigned char*>(text.data()); }

// The first pLen bytes of the value; a length below 1 or beyond the value means all of it.
std::size_t SourceLength(LONG pLen, std::size_t valueLength) {
  return (pLen < 1 || static_cast<std::size_t>(pLen) > valueLength) ? valueLength : static_cast<std::size_t>(pLen);
}

}  // namespace

void Textrope::Base64Encode() {
  if (base64 == 1) {
    Trace("already base 64 encoded");
    return;
  }
  std::string encoded = textrope::FreshBlock(textrope::Base64EncodedSize(value.size(), base64NoWrap == 0));
  LONG written = Length();
  Base64Encode(encoded, written);
  encoded.resize(static_cast<std::size_t>(written));
  value = std::move(encoded);
  base64 = 1;
}

void Textrope::Base64Encode(std::string& pText, LONG& pLen) {
  const std::size_t n = SourceLength(pLen, value.size());
  textrope::CodedSize result = textrope::Base64EncodeInto(Bytes(value), n, pText.data(), pText.size(), base64NoWrap == 0);
  pLen = static_cast<LONG>(result.written);
  if (!result.complete) {
    ErrorTrap("Base64Encode",
              "The passed string was not large enough to hold the Base64 encoded data. The data has been truncated.");
  }
}

void Textrope::Base64Decode() {
  // In place: the value is its own output buffer.
  auto* bytes = reinterpret_cast<unsigned char*>(value.data());
  textrope::CodedSize result = textrope::Base64DecodeInto(bytes, value.size(), bytes, value.size());
  // Cut where the decoding ended; no new block and no second copy.
  value.resize(result.written);
  base64 = 0;
}

void Textrope::Base64Decode(std::string& pText, LONG& pLen) {
  const std::size_t n = SourceLength(pLen, value.size());
  textrope::CodedSize result =
      textrope::Base64DecodeInto(Bytes(value), n, reinterpret_cast<unsigned char*>(pText.data()), pText.size());
  pLen = static_cast<LONG>(result.written);
  if (!result.complete) {
    ErrorTrap("Base64Decode",
              "The passed string was not large enough to hold the Base64 decoded data. The data has been truncated.");
  }
}

void Textrope::EncodedWordEncode(std::string_view pCharset, LONG pEncoding) {
  if (pEncoding == 1) {
    // One encoded word is one line: its Base64 text must not be broken.
    const LONG wrapSetting = base64NoWrap;
    base64NoWrap = 1;
    Base64Encode();
    base64NoWrap = wrapSetting;
    Replace("\r\n", "", 0, 1, 0, 0, 0);
    Prepend("B?", 0);
  } else {
    // "_" is the space character of the Q form, so a real "_" must be escaped (=5F).
    UrlEncode(0x10, "=", "_");
    Prepend("Q?", 0);
  }
  if (textrope::IsBlank(pCharset)) {
    Prepend("=?iso-8859-1?", 0);
  } else {
    Prepend("=?" + std::string(textrope::Clipped(pCharset)) + "?", 0);
  }
  Append("?=", 0);
}

void Textrope::EncodedWordDecode() {
  if (value.empty() || value.front() != '=' || value.back() != '=') return;
  Split("\r\n");
  std::string decoded;
  Textrope pieces;
  Textrope word;
  for (LONG n = 1; n <= Records(); ++n) {
    // "=?charset?X?text?=" at "?": the opening "=", the charset and the closing "=" are not
    // part of the text.
    pieces.SetValue(GetLine(n));
    pieces.Split("?");
    if (pieces.Records() < 5) continue;
    const std::string form = pieces.GetLine(3);
    // The encoded text holds no blanks, so a lone blank is an empty piece.
    word.SetValue(textrope::Clipped(pieces.GetLine(4)));
    if (form == "Q" || form == "q") {
      word.UrlDecode("=", "_");
    } else if (form == "B" || form == "b") {
      word.Base64Decode();
    } else {
      continue;
    }
    decoded.append(word.value);
  }
  SetValue(decoded, 0);
}
