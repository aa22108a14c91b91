#pragma once
// Keeps a window's controls in place as the window changes size.
//
// Init takes the window's size and every control's place as the design to measure from;
// each Resize moves and sizes the controls by how far the window's width and height are
// from that design size. A control's anchors say how:
//   horizontal  Resize::FixLeft      same distance from the left edge
//               Resize::FixRight     same distance from the right edge
//   vertical    Resize::FixTop       same distance from the top
//               Resize::FixBottom    same distance from the bottom
//   width       Resize::LockWidth    fixed
//               Resize::ConstantRight  its right edge keeps its distance from the window's (grows)
//   height      Resize::LockHeight   fixed
//               Resize::ConstantBottom its bottom keeps its distance from the window's (grows)
// A control without anchors of its own moves and grows as the control it sits in (its
// option, group, sheet or tab) does; one that sits in nothing stays where it was designed.
// There is no minimum or maximum window size; a growing control never goes below zero.
#include <map>

#include "platform/rt/window.h"

namespace Resize {
inline constexpr int FixLeft = 0x0001;
inline constexpr int FixRight = 0x0002;
inline constexpr int FixTop = 0x0010;
inline constexpr int FixBottom = 0x0020;
inline constexpr int LockWidth = 0x0100;
inline constexpr int ConstantRight = 0x0200;
inline constexpr int LockHeight = 0x1000;
inline constexpr int ConstantBottom = 0x2000;
}  // namespace Resize

class WindowResizeClass {
 public:
  void Init(rt::Window& window);
  // Anchors of one control: position FixLeft or FixRight with FixTop or FixBottom; size
  // LockWidth or ConstantRight with LockHeight or ConstantBottom.
  void SetStrategy(int field, int position, int size);
  // Places every control for the window's current size.
  void Resize();

 private:
  struct Place {
    long long x = 0, y = 0, width = 0, height = 0;
  };
  struct Anchors {
    int position = Resize::FixLeft | Resize::FixTop;
    int size = Resize::LockWidth | Resize::LockHeight;
  };

  rt::Window* window_ = nullptr;
  long long designWidth_ = 0;
  long long designHeight_ = 0;
  std::map<int, Place> design_;
  std::map<int, Anchors> anchors_;
};
