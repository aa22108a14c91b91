#include "app/ini_manager.h"

#include <cctype>
#include <string>
#include <type_traits>

#include "app/globals.h"

namespace {

constexpr std::string_view kPreserved = "Preserved";

template <typename T>
T Narrowed(long long value) {
  using Unsigned = std::make_unsigned_t<T>;
  return static_cast<T>(static_cast<Unsigned>(static_cast<unsigned long long>(value)));
}

}  // namespace

long long SettingNumber(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return 0;
  unsigned long long magnitude = 0;
  for (char c : text) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return 0;
    // Only the low 32 bits matter to any variable here; wrapping keeps them right.
    magnitude = magnitude * 10 + static_cast<unsigned>(c - '0');
  }
  return negative ? -static_cast<long long>(magnitude) : static_cast<long long>(magnitude);
}

void INIMGR::Fetch() {
  GLO::MIDIInDevice = Narrowed<BYTE>(SettingNumber(TryFetch(kPreserved, "GLO:MIDIInDevice")));
  GLO::MIDIOutDevice = Narrowed<BYTE>(SettingNumber(TryFetch(kPreserved, "GLO:MIDIOutDevice")));
  GLO::SafetyMode = Narrowed<BYTE>(SettingNumber(TryFetch(kPreserved, "GLO:SafetyMode")));
  GLO::UserCabOffset = Narrowed<LONG>(SettingNumber(TryFetch(kPreserved, "GLO:UserCabOffset")));
  INIClass::Fetch();
}

void INIMGR::Update() {
  INIClass::Update();
  Update(kPreserved, "GLO:MIDIInDevice", GLO::MIDIInDevice);
  Update(kPreserved, "GLO:MIDIOutDevice", GLO::MIDIOutDevice);
  Update(kPreserved, "GLO:SafetyMode", GLO::SafetyMode);
  Update(kPreserved, "GLO:UserCabOffset", GLO::UserCabOffset);
}
