#pragma once
// What an event handler tells the window's event loop.
namespace Level {
inline constexpr int Benign = 0;  // carry on: the framework's own handling goes ahead
inline constexpr int Fatal = 3;   // leave the event loop
inline constexpr int Notify = 5;  // the event is consumed (a consumed CloseWindow keeps the window open)
}  // namespace Level

// A window's answer to whoever ran it.
inline constexpr int RequestCompleted = 1;
inline constexpr int RequestCancelled = 2;
