#include "screen_fixture.h"

#include <QApplication>

#include "platform/rt/events.h"

void ScreenTest::SetUp() {
  auto screen = std::make_unique<qtscreen::QtScreen>();
  screen_ = screen.get();
  previous_ = rt::UseScreen(std::move(screen));
  window_ = rt::OpenWindow(demo_.def);
  ASSERT_NE(window_, nullptr);
  view_ = screen_->ViewOf(*window_);
  ASSERT_NE(view_, nullptr);
  QApplication::processEvents();
  const auto opened = Events();
  ASSERT_FALSE(opened.empty());
  EXPECT_EQ(opened.front().first, EVENT::OpenWindow);
}

void ScreenTest::TearDown() {
  if (window_) rt::CloseWindow(*window_);
  rt::UseScreen(std::move(previous_));
}

std::vector<std::pair<int, int>> ScreenTest::Events() {
  QApplication::processEvents();
  std::vector<std::pair<int, int>> seen;
  while (rt::PollEvent(*window_)) {
    if (EVENT() != EVENT::Selected) seen.emplace_back(EVENT(), FIELD());
  }
  return seen;
}
