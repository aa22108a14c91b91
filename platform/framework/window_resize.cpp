#include "platform/framework/window_resize.h"

#include <algorithm>

#include "platform/rt/props.h"

void WindowResizeClass::Init(rt::Window& window) {
  window_ = &window;
  designWidth_ = window.PropNumber(0, PROP::Width);
  designHeight_ = window.PropNumber(0, PROP::Height);
  design_.clear();
  anchors_.clear();
  for (int field = 1; field <= window.Fields(); ++field) {
    design_[field] = {window.PropNumber(field, PROP::Xpos), window.PropNumber(field, PROP::Ypos),
                      window.PropNumber(field, PROP::Width), window.PropNumber(field, PROP::Height)};
  }
}

void WindowResizeClass::SetStrategy(int field, int position, int size) { anchors_[field] = {position, size}; }

void WindowResizeClass::Resize() {
  if (window_ == nullptr) return;
  const long long dw = window_->PropNumber(0, PROP::Width) - designWidth_;
  const long long dh = window_->PropNumber(0, PROP::Height) - designHeight_;
  // How far each control moved and grew, so that what sits in it can follow.
  std::map<int, Place> change;
  for (const auto& [field, designed] : design_) {
    Place delta;
    if (auto anchors = anchors_.find(field); anchors != anchors_.end()) {
      const auto [position, size] = anchors->second;
      delta.x = (position & Resize::FixRight) ? dw : 0;
      delta.y = (position & Resize::FixBottom) ? dh : 0;
      delta.width = (size & Resize::ConstantRight) ? dw : 0;
      delta.height = (size & Resize::ConstantBottom) ? dh : 0;
    } else if (auto parent = change.find(window_->Control(field).parent); parent != change.end()) {
      delta = parent->second;
    }
    change[field] = delta;
    Place now{designed.x + delta.x, designed.y + delta.y, std::max(0LL, designed.width + delta.width),
              std::max(0LL, designed.height + delta.height)};
    if (window_->PropNumber(field, PROP::Xpos) != now.x) window_->SetProp(field, PROP::Xpos, now.x);
    if (window_->PropNumber(field, PROP::Ypos) != now.y) window_->SetProp(field, PROP::Ypos, now.y);
    if (window_->PropNumber(field, PROP::Width) != now.width) window_->SetProp(field, PROP::Width, now.width);
    if (window_->PropNumber(field, PROP::Height) != now.height) window_->SetProp(field, PROP::Height, now.height);
  }
}
