#pragma once
// A device for tests: bytes fed by the test reach the open input; what the program writes
// is recorded.
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/midi/backend.h"
#include "platform/midi/byte_pipe.h"

namespace midi_test {

class FakeDevice : public std::enable_shared_from_this<FakeDevice> {
 public:
  explicit FakeDevice(std::string name) : name_(std::move(name)) {}

  // Bytes (one piece) for the open input; dropped when no input is open.
  void Feed(std::vector<BYTE> bytes);
  // Every Send the output received, in order.
  std::vector<std::vector<BYTE>> Sent();
  void FailOutput();

  midi::InputDevice Input();
  midi::OutputDevice Output();

 private:
  friend class FakeInput;
  friend class FakeOutput;
  std::string name_;
  std::mutex lock_;
  midi::BytePipe* input_ = nullptr;
  std::vector<std::vector<BYTE>> sent_;
  bool outputFails_ = false;
};

// Lists the given devices, inputs and outputs, in order.
class FakeBackend : public midi::Backend {
 public:
  explicit FakeBackend(std::vector<std::shared_ptr<FakeDevice>> devices) : devices_(std::move(devices)) {}
  void List(std::vector<midi::InputDevice>& inputs, std::vector<midi::OutputDevice>& outputs) override;

 private:
  std::vector<std::shared_ptr<FakeDevice>> devices_;
};

// Installs back-ends for one test and puts the previous ones back.
class BackendScope {
 public:
  explicit BackendScope(midi::BackendList backends) : previous_(midi::InstallBackends(std::move(backends))) {}
  ~BackendScope() { midi::InstallBackends(std::move(previous_)); }

 private:
  midi::BackendList previous_;
};

}  // namespace midi_test
