// The link class on a window with many links: Refresh(0) and the handling of one event
// (with the mouse tracking that runs on every MouseMove) must grow linearly with the links.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "links/linkbright_class.h"
#include "links/links_module.h"
#include "platform/rt/display.h"
#include "platform/rt/event_loop.h"
#include "platform/rt/events.h"
#include "platform/rt/post.h"
#include "platform/win/system/registry.h"

namespace {

// A window of `links` controls: three strings (each with its region) to one entry.
class ManyLinks {
 public:
  explicit ManyLinks(int links) {
    static const bool announced = [] {
      LinksModule().start();
      rt::AnnounceControlKinds({rt::Kind::String, rt::Kind::Entry});
      return true;
    }();
    (void)announced;
    rt::WindowDef def{.caption = "Links"};
    for (int field = 1; field <= links; ++field) {
      const bool entry = field % 4 == 0;
      def.controls.push_back(rt::ControlDef{.feq = field, .equate = "LINK" + std::to_string(field),
                                            .kind = entry ? rt::Kind::Entry : rt::Kind::String,
                                            .text = "www.example" + std::to_string(field) + ".org",
                                            .at = {(field % 20) * 12, (field / 20) * 12, 10, 10}});
    }
    window_ = rt::OpenWindow(def);
    while (rt::PollEvent(*window_)) {
    }
    link_.HandCursorToUse = "hand";
    link_.Init(EVENT::MouseMove, 1);
    for (int field = 1; field <= links; ++field) link_.AddItem(field, {}, 0xFF0000, 0x0000FF, 1, field % 4 == 0 ? 1 : 0);
  }
  ~ManyLinks() { rt::CloseWindow(*window_); }

  vrLinkbrightClass& Link() { return link_; }
  rt::Window& Window() { return *window_; }

 private:
  rt::Window* window_ = nullptr;
  vrLinkbrightClass link_;
};

void BM_RefreshAll(benchmark::State& state) {
  ManyLinks window(static_cast<int>(state.range(0)));
  for (auto _ : state) window.Link().Refresh(0);
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_RefreshAll)->Arg(100)->Arg(300)->Arg(1000)->Arg(3000)->Unit(benchmark::kMicrosecond)->Complexity(benchmark::oN);

// One MouseMove over a string link's region: the event's own row, then the tracking walk
// over every link.
void BM_TakeOneEvent(benchmark::State& state) {
  ManyLinks window(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    POST(EVENT::MouseMove, 1 + 2800);
    rt::PollEvent(window.Window());
    window.Link().TakeEvent();
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_TakeOneEvent)->Arg(100)->Arg(300)->Arg(1000)->Arg(3000)->Unit(benchmark::kMicrosecond)->Complexity(benchmark::oN);

}  // namespace
