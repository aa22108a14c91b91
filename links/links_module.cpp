#include "links/links_module.h"

#include "platform/rt/control_kind.h"

rt::Module LinksModule() {
  return rt::Module{
      .name = "linkbright",
      .start = [] { rt::AnnounceControlKinds({rt::Kind::Region}); },
  };
}
