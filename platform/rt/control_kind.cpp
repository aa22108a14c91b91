#include "platform/rt/control_kind.h"

#include <mutex>
#include <set>

namespace rt {
namespace {
std::mutex gLock;
std::set<Kind> gAnnounced;
}  // namespace

void AnnounceControlKinds(std::initializer_list<Kind> kinds) {
  std::lock_guard guard(gLock);
  gAnnounced.insert(kinds.begin(), kinds.end());
}

bool IsKindAnnounced(Kind kind) {
  std::lock_guard guard(gLock);
  return gAnnounced.count(kind) != 0;
}

std::string_view KindName(Kind kind) {
  switch (kind) {
    case Kind::SString: return "sstring";
    case Kind::String: return "string";
    case Kind::Image: return "image";
    case Kind::Region: return "region";
    case Kind::Line: return "line";
    case Kind::Box: return "box";
    case Kind::Ellipse: return "ellipse";
    case Kind::Entry: return "entry";
    case Kind::Button: return "button";
    case Kind::Prompt: return "prompt";
    case Kind::Option: return "option";
    case Kind::Check: return "check";
    case Kind::Group: return "group";
    case Kind::List: return "list";
    case Kind::Combo: return "combo";
    case Kind::Spin: return "spin";
    case Kind::Text: return "text";
    case Kind::Item: return "item";
    case Kind::Radio: return "radio";
    case Kind::Sheet: return "sheet";
    case Kind::Tab: return "tab";
  }
  return "unknown";
}

}  // namespace rt
