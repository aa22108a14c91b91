#include <nettle/md5.h>

#include <algorithm>
#include <cstring>

#include "platform/win/system/debug_output.h"
#include "platform/win/system/format_message.h"
#include "textrope/byte_text.h"
#include "textrope/fresh_block.h"
#include "textrope/textrope.h"

using textrope::Clipped;

namespace {

// What Append and Prepend do without joining: with pClip bit 1 a blank text adds nothing, and
// an empty value simply becomes the text. False when the text is to be joined to the value.
bool AddsWithoutJoining(Textrope& t, std::string_view newValue, LONG pClip) {
  if ((pClip & 2) != 0 && textrope::IsBlank(newValue)) return true;
  if (!t.value.empty()) return false;
  t.SetValue(newValue, pClip & 1);
  return true;
}

std::string Joined(std::string_view front, std::string_view separator, std::string_view back) {
  std::string joined;
  joined.reserve(front.size() + separator.size() + back.size());
  joined.append(front).append(separator).append(back);
  return joined;
}

}  // namespace

Textrope::~Textrope() {
  // Only this class's own versions run here; the value and lines go with the members.
  Free(0);
  FreeLines();
}

void Textrope::SetValue(std::string_view newValue, LONG pClip) {
  if (pClip != 0) newValue = Clipped(newValue);
  if (newValue.empty()) {
    Free(0);
    return;
  }
  if (newValue.size() == value.size()) {
    // Same length: the block stays; memmove because newValue may be a view of the value.
    std::memmove(value.data(), newValue.data(), newValue.size());
  } else {
    // A large value lives in huge pages, so whatever later replaces it releases it cheaply.
    std::string copy = textrope::FreshBlock(newValue.size());
    std::memcpy(copy.data(), newValue.data(), newValue.size());
    value.swap(copy);
  }
  base64 = 0;
}

void Textrope::Assign(std::string_view newValue) { SetValue(newValue, 0); }

void Textrope::AppendA(std::string_view newValue, LONG pClip, std::string_view pSep) {
  if (AddsWithoutJoining(*this, newValue, pClip)) return;
  SetValue(Joined(value, pSep, newValue), pClip & 1);
}

void Textrope::Append(std::string_view newValue, LONG pClip, std::string_view pSep) {
  AppendA(newValue, pClip, pSep);
}

void Textrope::Prepend(std::string_view newValue, LONG pClip, std::string_view pSep) {
  if (AddsWithoutJoining(*this, newValue, pClip)) return;
  SetValue(Joined(Clipped(newValue), pSep, value), pClip & 1);
}

void Textrope::AppendBinary(LONG pValue, LONG pLength) {
  if (pLength < 1 || pLength > 4) return;
  auto bits = static_cast<ULONG>(pValue);
  char little[4];
  for (int i = 0; i < 4; ++i) little[i] = static_cast<char>((bits >> (8 * i)) & 0xFF);
  AppendA(std::string_view(little, static_cast<std::size_t>(pLength)), 0);
}

void Textrope::SetLength(LONG newLength) {
  if (newLength == Length()) return;
  if (newLength < 1) {
    Free(0);
    return;
  }
  std::string resized(static_cast<std::size_t>(newLength), ' ');
  std::memcpy(resized.data(), value.data(), std::min(resized.size(), value.size()));
  value = std::move(resized);
}

void Textrope::Free(LONG pLines) {
  if (pLines != 0) FreeLines();
  // Assigning an empty string keeps the old block; a swap gives it back.
  std::string().swap(value);
}

void Textrope::FreeLines() { lines = std::vector<LinesGroupType>(); }

std::string Textrope::GetValue() { return value; }

std::string Textrope::GetValue(LONG maxLen) {
  std::size_t limit = maxLen > 0 ? static_cast<std::size_t>(maxLen) : 0;
  return value.substr(0, limit);
}

std::string Textrope::GetVal() { return GetValue(); }

LONG Textrope::Length() { return LengthA(); }

LONG Textrope::LengthA() { return static_cast<LONG>(value.size()); }

LONG Textrope::Len() { return LengthA(); }

LONG Textrope::ClipLength() { return static_cast<LONG>(Clipped(value).size()); }

LONG Textrope::ClipLen() { return ClipLength(); }

std::string Textrope::Slice(ULONG pStart, ULONG pEnd) {
  if (value.empty()) return {};
  std::uint64_t length = value.size();
  std::uint64_t last = (pEnd > length || pEnd < 1) ? length : pEnd;
  std::uint64_t first = pStart < 1 ? 1 : pStart;
  if (first > length || first > last) return {};
  return value.substr(first - 1, last - first + 1);
}

std::string Textrope::Sub(ULONG pStart, ULONG pLength) {
  if (value.empty()) return {};
  std::uint64_t length = value.size();
  std::uint64_t first = pStart < 1 ? 1 : pStart;
  if (first > length) return {};
  std::uint64_t count = std::min<std::uint64_t>(pLength, length - first + 1);
  if (count < 1) return {};
  return value.substr(first - 1, count);
}

void Textrope::Crop(ULONG pStart, ULONG pEnd) {
  if (value.empty()) return;
  std::uint64_t length = value.size();
  std::uint64_t last = pEnd == 0 ? length : pEnd;
  if (pStart > length || pStart > last || pStart < 1) return;
  if (last > length) last = length;
  SetValue(Slice(pStart, static_cast<ULONG>(last)), 0);
}

std::unique_ptr<char[]> Textrope::ToCString() {
  std::string_view clipped = Clipped(value);
  auto block = std::make_unique<char[]>(clipped.size() + 2);  // zero-filled
  std::memcpy(block.get(), clipped.data(), clipped.size());
  return block;
}

std::string Textrope::MD5() {
  md5_ctx context;
  md5_init(&context);
  md5_update(&context, value.size(), reinterpret_cast<const std::uint8_t*>(value.data()));
  std::uint8_t digest[MD5_DIGEST_SIZE];
  md5_digest(&context, MD5_DIGEST_SIZE, digest);
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string text;
  for (std::uint8_t byte : digest) {
    text += kDigits[byte >> 4];
    text += kDigits[byte & 0x0F];
  }
  return text;
}

void Textrope::ErrorTrap(std::string_view methodName, std::string_view errorMessage) {
  lastError = std::string(errorMessage.substr(0, lastErrorSize));
  if (logErrors == 0) return;
  std::string line(Clipped(methodName));
  line.append(": ").append(Clipped(errorMessage));
  Trace(line);
  if (winErrorCode != 0) {
    Trace("  API Error: " + std::to_string(winErrorCode) + ": " + FormatMessage(winErrorCode));
  }
}

std::string Textrope::FormatMessage(LONG err) {
  char buffer[255] = {};
  DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                static_cast<DWORD>(err), 0, buffer, sizeof buffer, nullptr);
  return std::string(Clipped(std::string_view(buffer, length)));
}

void Textrope::Trace(std::optional<std::string_view> pMsg) {
  std::string_view text = pMsg ? Clipped(*pMsg) : std::string_view(value);
  std::string line;
  if (text.find('[') == std::string_view::npos) line = "[tx] ";
  line.append(text);
  // The debug channel takes NUL-terminated text, so a NUL byte ends the line.
  OutputDebugStringA(line.c_str());
}
