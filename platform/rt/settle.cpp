#include "platform/rt/settle.h"

#include <map>
#include <mutex>
#include <vector>

namespace rt {
namespace {
std::mutex gLock;
std::map<int, std::function<void()>> gHooks;
int gNextId = 1;
}  // namespace

int AddSettleHook(std::function<void()> hook) {
  std::lock_guard guard(gLock);
  gHooks[gNextId] = std::move(hook);
  return gNextId++;
}

void RemoveSettleHook(int id) {
  std::lock_guard guard(gLock);
  gHooks.erase(id);
}

void Settle() {
  std::vector<std::function<void()>> hooks;
  {
    std::lock_guard guard(gLock);
    for (auto& [id, hook] : gHooks) hooks.push_back(hook);
  }
  for (auto& hook : hooks) hook();
}

}  // namespace rt
