#pragma once
// Settle hooks: work that runs on other threads (a MIDI back-end) registers a function that
// returns once that work has handed everything pending to the window thread (as posted
// messages). The scripted screen calls Settle() before every script line and between the
// steps of a wait, so a scripted run sees the same result every time; tests call it too.
#include <functional>

namespace rt {
int AddSettleHook(std::function<void()> hook);
void RemoveSettleHook(int id);
void Settle();
}  // namespace rt
