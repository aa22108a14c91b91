#include <algorithm>
#include <string>

#include "platform/win/modules/own_memory.h"
#include "textrope/byte_text.h"
#include "textrope/textrope.h"

namespace {

constexpr std::size_t kFileNameLimit = 256;
constexpr std::size_t kPeekListLimit = 1024;

// A quote argument that is given but empty stands for a blank.
char QuoteChar(std::optional<std::string_view> given, char omitted) {
  if (!given) return omitted;
  return given->empty() ? ' ' : (*given)[0];
}

}  // namespace

std::string Textrope::ColorToHex(LONG claColor, LONG addHash) {
  if (claColor < 0 || claColor > 0xFFFFFF) return {};
  std::string text = addHash != 0 ? "#" : "";
  for (int shift : {0, 8, 16}) text += ByteToHex(static_cast<BYTE>(claColor >> shift & 0xFF));
  return text;
}

LONG Textrope::ColorFromHex(std::string_view hexCol) {
  std::string_view digits = textrope::Clipped(hexCol);
  if (digits.size() < 6) return -1;
  if (digits.front() == '#') {
    if (digits.size() < 7) return -1;
    digits.remove_prefix(1);
  }
  // Red, green and blue; red is the lowest byte of a colour number.
  LONG colour = 0;
  for (int i = 0; i < 3; ++i) colour |= static_cast<LONG>(HexToByte(digits.substr(2 * i, 2))) << (8 * i);
  return colour;
}

void Textrope::Quote(std::optional<std::string_view> pQuoteStart, std::optional<std::string_view> pQuoteEnd) {
  const char open = QuoteChar(pQuoteStart, '"');
  const char close = QuoteChar(pQuoteEnd, open);
  if (value.size() > 1 && value.front() == open && value.back() == close) return;
  std::string quoted;
  quoted.reserve(value.size() + 2);
  quoted.append(1, open).append(value).append(1, close);
  SetValue(quoted, 0);
}

void Textrope::Unquote(std::optional<std::string_view> pQuoteStart, std::optional<std::string_view> pQuoteEnd) {
  if (value.size() < 2) return;
  const char open = QuoteChar(pQuoteStart, value.front() == '\'' ? '\'' : '"');
  const char close = QuoteChar(pQuoteEnd, open);
  if (value.front() != open || value.back() != close) return;
  SetValue(std::string_view(value).substr(1, value.size() - 2), 0);
}

std::string Textrope::CleanFileName(std::optional<std::string_view> pFileName,
                                    std::optional<std::string_view> pReplaceChar) {
  const char replacement = (pReplaceChar && !pReplaceChar->empty()) ? (*pReplaceChar)[0] : '_';
  std::string name((pFileName && !pFileName->empty()) ? *pFileName : std::string_view(value));
  if (name.size() > kFileNameLimit) name.resize(kFileNameLimit);
  for (char& c : name) {
    if (std::string_view("\\/*:?\"<>|").find(c) != std::string_view::npos) c = replacement;
  }
  name.resize(textrope::Clipped(name).size());
  // Only a call on the value itself writes the cleaned name back.
  if (!pFileName) SetValue(name, 0);
  return name;
}

void Textrope::MergeXml(std::string_view pNew, LONG pWhere) {
  const std::string_view fragment = textrope::Clipped(pNew);
  std::size_t at = value.size();
  if (pWhere == 1) {
    std::size_t close = value.find('>');
    if (close != std::string::npos) at = close + 1;
  } else if (pWhere == -1) {
    std::size_t open = value.rfind('<');
    if (open != std::string::npos && open > 0) at = open;
  } else {
    return;
  }
  std::string merged;
  merged.reserve(value.size() + fragment.size());
  merged.append(value, 0, at).append(fragment).append(value, at);
  SetValue(merged, 0);
}

void Textrope::LineEndings(LONG pEndings) {
  switch (pEndings) {
    case 1:
    case 2:
      // Every ending becomes a CR first, so no CR LF is ever doubled.
      Replace("\r\n", "\r", 0, 1, 0, 0, 0);
      Replace("\n", "\r", 0, 1, 0, 0, 0);
      if (pEndings == 1) Replace("\r", "\r\n", 0, 1, 0, 0, 0);
      break;
    case 3:
      Replace("\r\n", "\n", 0, 1, 0, 0, 0);
      Replace("\r", "\n", 0, 1, 0, 0, 0);
      break;
    default: break;
  }
}

void Textrope::PeekRam(std::uintptr_t pAdr, LONG pLen) {
  Trace("PeekRam at " + std::to_string(pAdr));
  // Every byte takes at least five characters of the list, so more is never shown.
  const std::size_t wanted = std::clamp<LONG>(pLen, 0, static_cast<LONG>(kPeekListLimit));
  std::string bytes(wanted, '\0');
  if (!win::ReadOwnMemory(pAdr, bytes.data(), wanted)) {
    ErrorTrap("PeekRam", "The memory at address " + std::to_string(pAdr) + " could not be read.");
    return;
  }
  std::string list;
  for (char c : bytes) {
    list.append(" ").append(std::to_string(static_cast<unsigned char>(c))).append("[").append(1, c).append("]");
    if (list.size() >= kPeekListLimit) break;
  }
  if (list.size() > kPeekListLimit) list.resize(kPeekListLimit);
  Trace("RAM:" + list);
}
