#pragma once
// The demo links window opened on the runtime for a test, with a link object that records
// what it would run instead of starting programs (Run is virtual like every operation).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/rt/event_loop.h"
#include "platform/harness/pointer_placing.h"
#include "platform/rt/user_action.h"
#include "tests/links/demo_links_window.h"
#include "tests/support/private_desktop.h"

namespace links_test {

class RecordingLinks : public links_demo::DemoLinks {
 public:
  std::vector<std::string> runs;
  void Run(std::optional<LONG>, LONG) override { runs.push_back(URLToRun); }
};

class LinkWindow : public ::testing::Test {
 protected:
  // No program is ever started, but Init reads the desktop's associations: a private one.
  explicit LinkWindow(const std::vector<std::string>& handled = {"mailto", "text/html"},
                      test_support::DesktopHandler handler = {})
      : desktop_(handled, ARG_RECORDER_PATH, handler) {}

  void SetUp() override {
    for (rt::Kind kind : links_demo::DemoKinds()) rt::AnnounceControlKinds({kind});
    links_demo::ResetDemoData();
    w_ = rt::OpenWindow(links_demo::DemoLinksWindow());
    ASSERT_NE(w_, nullptr);
    Drain();
    links_demo::SetUpLinks(links_);
    Drain();
  }
  void TearDown() override { rt::CloseWindow(*w_); }

  // Every waiting event, handed to the link object as the window's loop does.
  void Drain() {
    while (rt::PollEvent(*w_)) links_demo::TakeDemoEvent(links_);
  }
  // The link row of a control (and list column).
  LinkItemRow Row(LONG control, LONG column = 0) {
    for (size_t i = 1; i <= links_.ItemQ->Records(); ++i) {
      const LinkItemRow& row = links_.ItemQ->Peek(i);
      if (row.Control == control && row.Column == column) return row;
    }
    ADD_FAILURE() << "no link row for " << control << " column " << column;
    return {};
  }
  // The pointer over the middle of a control, or of a list cell.
  void Hover(int field, int row = 0, int column = 0) {
    rt::Pointer at;
    ASSERT_EQ(harness::PointerOver(*w_, field, row, column, at), "");
    rt::user::PointerMoved(*w_, at);
    Drain();
  }
  std::string Prop(int field, int prop, int index = 0) { return w_->Prop(field, prop, index); }
  long long Number(int field, int prop, int index = 0) { return w_->PropNumber(field, prop, index); }

  test_support::PrivateDesktop desktop_;
  rt::Window* w_ = nullptr;
  RecordingLinks links_;
};

}  // namespace links_test
