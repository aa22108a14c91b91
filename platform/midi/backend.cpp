#include "platform/midi/backend.h"

#include <mutex>

#include "platform/midi/alsa/alsa_backend.h"
#include "platform/midi/simulator/simulator_backend.h"

namespace midi {

namespace {

struct DeviceTable {
  std::mutex lock;
  BackendList backends;
  bool defaults = true;
  bool scanned = false;
  std::vector<InputDevice> inputs;
  std::vector<OutputDevice> outputs;
};

DeviceTable& Table() {
  static DeviceTable table;
  return table;
}

BackendList DefaultBackends() {
  return {std::make_shared<AlsaBackend>(), std::make_shared<SimulatorBackend>(SimulatorInstance())};
}

void ScanLocked(DeviceTable& table) {
  if (table.defaults) {
    table.backends = DefaultBackends();
    table.defaults = false;
  }
  table.inputs.clear();
  table.outputs.clear();
  for (auto& backend : table.backends) backend->List(table.inputs, table.outputs);
  table.scanned = true;
}

DeviceTable& Scanned(std::unique_lock<std::mutex>& guard) {
  DeviceTable& table = Table();
  guard = std::unique_lock(table.lock);
  if (!table.scanned) ScanLocked(table);
  return table;
}

}  // namespace

BackendList InstallBackends(BackendList backends) {
  DeviceTable& table = Table();
  std::lock_guard guard(table.lock);
  BackendList previous = table.defaults ? DefaultBackends() : table.backends;
  table.backends = std::move(backends);
  table.defaults = false;
  table.scanned = false;
  return previous;
}

void RescanDevices() {
  DeviceTable& table = Table();
  std::lock_guard guard(table.lock);
  ScanLocked(table);
}

std::optional<InputDevice> FindInputDevice(UINT id) {
  std::unique_lock<std::mutex> guard;
  DeviceTable& table = Scanned(guard);
  if (id >= table.inputs.size()) return std::nullopt;
  return table.inputs[id];
}

std::optional<OutputDevice> FindOutputDevice(UINT id) {
  std::unique_lock<std::mutex> guard;
  DeviceTable& table = Scanned(guard);
  if (id >= table.outputs.size()) return std::nullopt;
  return table.outputs[id];
}

UINT InputDeviceCount() {
  std::unique_lock<std::mutex> guard;
  return static_cast<UINT>(Scanned(guard).inputs.size());
}

UINT OutputDeviceCount() {
  std::unique_lock<std::mutex> guard;
  return static_cast<UINT>(Scanned(guard).outputs.size());
}

}  // namespace midi
