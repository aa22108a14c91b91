#pragma once
// The control kinds the link class tells apart, and short reads and writes of the target
// window's control properties.
#include <string>
#include <string_view>

#include "platform/rt/control_kind.h"
#include "platform/rt/display.h"
#include "platform/win/types.h"

namespace links {

inline constexpr LONG kRegionOffset = 2800;  // a string or prompt link's mouse area: control + 2800
inline constexpr LONG kUnderline = 0x2000;
inline constexpr LONG kNormalWeight = 400;

inline constexpr LONG SSTRING = static_cast<LONG>(rt::Kind::SString);
inline constexpr LONG STRING = static_cast<LONG>(rt::Kind::String);
inline constexpr LONG REGION = static_cast<LONG>(rt::Kind::Region);
inline constexpr LONG ENTRY = static_cast<LONG>(rt::Kind::Entry);
inline constexpr LONG BUTTON = static_cast<LONG>(rt::Kind::Button);
inline constexpr LONG PROMPT = static_cast<LONG>(rt::Kind::Prompt);
inline constexpr LONG LIST = static_cast<LONG>(rt::Kind::List);
inline constexpr LONG COMBO = static_cast<LONG>(rt::Kind::Combo);
inline constexpr LONG TEXT = static_cast<LONG>(rt::Kind::Text);
inline constexpr LONG ITEM = static_cast<LONG>(rt::Kind::Item);

inline LONG Number(LONG field, int prop, int index = 0) {
  return static_cast<LONG>(rt::GetPropNumber(field, prop, index));
}
inline std::string Text(LONG field, int prop, int index = 0) { return rt::GetProp(field, prop, index); }
inline void Set(LONG field, int prop, long long value, int index = 0) { rt::SetProp(field, prop, value, index); }
inline void Set(LONG field, int prop, std::string_view value, int index = 0) { rt::SetProp(field, prop, value, index); }

}  // namespace links
