#include "app/ini_manager.h"

#include <charconv>
#include <string>
#include <type_traits>

#include "app/globals.h"
#include "app/user_cab.h"

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
  // from_chars takes a "-" but not a "+"; a sign followed by another sign is not a number.
  if (text.starts_with('+')) {
    text.remove_prefix(1);
    if (text.starts_with('+') || text.starts_with('-')) return 0;
  }
  long long number = 0;
  auto [stop, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  // Out of range of any variable here, or not wholly a number: unreadable, so 0.
  if (error != std::errc{} || stop != text.data() + text.size()) return 0;
  return number;
}

void INIMGR::Fetch() {
  GLO::MIDIInDevice = Narrowed<BYTE>(SettingNumber(TryFetch(kPreserved, "GLO:MIDIInDevice")));
  GLO::MIDIOutDevice = Narrowed<BYTE>(SettingNumber(TryFetch(kPreserved, "GLO:MIDIOutDevice")));
  // A first run asks before an upload overwrites a slot; a stored choice stands as stored.
  GLO::SafetyMode = Narrowed<BYTE>(SettingNumber(Fetch(kPreserved, "GLO:SafetyMode", "1")));
  // Held in what the box shows, so the first UPDATE (Connect, Refresh) cannot change it unseen.
  GLO::UserCabOffset =
      ShownUserCabOffset(Narrowed<LONG>(SettingNumber(TryFetch(kPreserved, "GLO:UserCabOffset"))));
  INIClass::Fetch();
}

void INIMGR::Update() {
  INIClass::Update();
  Update(kPreserved, "GLO:MIDIInDevice", GLO::MIDIInDevice);
  Update(kPreserved, "GLO:MIDIOutDevice", GLO::MIDIOutDevice);
  Update(kPreserved, "GLO:SafetyMode", GLO::SafetyMode);
  Update(kPreserved, "GLO:UserCabOffset", GLO::UserCabOffset);
}
