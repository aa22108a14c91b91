#include "tests/platform/midi/fake_device.h"

namespace midi_test {

class FakeInput : public midi::BytePipe {
 public:
  explicit FakeInput(std::shared_ptr<FakeDevice> device) : device_(std::move(device)) {
    std::lock_guard guard(device_->lock_);
    device_->input_ = this;
  }
  ~FakeInput() override {
    std::lock_guard guard(device_->lock_);
    device_->input_ = nullptr;
  }

 private:
  std::shared_ptr<FakeDevice> device_;
};

class FakeOutput : public midi::OutputPort {
 public:
  explicit FakeOutput(std::shared_ptr<FakeDevice> device) : device_(std::move(device)) {}
  bool Send(std::span<const BYTE> bytes) override {
    std::lock_guard guard(device_->lock_);
    if (device_->outputFails_) return false;
    device_->sent_.emplace_back(bytes.begin(), bytes.end());
    return true;
  }

 private:
  std::shared_ptr<FakeDevice> device_;
};

void FakeDevice::Feed(std::vector<BYTE> bytes) {
  std::lock_guard guard(lock_);
  if (input_) input_->Push(std::move(bytes));
}

std::vector<std::vector<BYTE>> FakeDevice::Sent() {
  std::lock_guard guard(lock_);
  return sent_;
}

void FakeDevice::FailOutput() {
  std::lock_guard guard(lock_);
  outputFails_ = true;
}

midi::InputDevice FakeDevice::Input() {
  return {name_, [self = shared_from_this()]() -> midi::Opened<midi::InputPort> {
            return {std::make_unique<FakeInput>(self), MMSYSERR_NOERROR};
          }};
}

midi::OutputDevice FakeDevice::Output() {
  return {name_, [self = shared_from_this()]() -> midi::Opened<midi::OutputPort> {
            return {std::make_unique<FakeOutput>(self), MMSYSERR_NOERROR};
          }};
}

void FakeBackend::List(std::vector<midi::InputDevice>& inputs, std::vector<midi::OutputDevice>& outputs) {
  for (auto& device : devices_) {
    inputs.push_back(device->Input());
    outputs.push_back(device->Output());
  }
}

}  // namespace midi_test
