#include "platform/midi/simulator/simulator_backend.h"

#include <cstdlib>
#include <cstring>

namespace midi {

namespace {

// True when BOXWRIGHT_SIMULATOR asks for the simulated device.
bool SimulatorRequested() {
  const char* value = std::getenv("BOXWRIGHT_SIMULATOR");
  return value != nullptr && std::strcmp(value, "0") != 0;
}

class SimulatorInput : public BytePipe {
 public:
  explicit SimulatorInput(Simulator& simulator) : simulator_(simulator) {}
  ~SimulatorInput() override { simulator_.DisconnectProgramInput(this); }

 private:
  Simulator& simulator_;
};

class SimulatorOutput : public OutputPort {
 public:
  explicit SimulatorOutput(Simulator& simulator) : simulator_(simulator) {}
  ~SimulatorOutput() override { simulator_.ReleaseProgramOutput(); }
  bool Send(std::span<const BYTE> bytes) override {
    simulator_.Receive(bytes);
    return true;
  }

 private:
  Simulator& simulator_;
};

}  // namespace

Simulator& SimulatorInstance() {
  // Never destroyed: back-end threads may still be winding down while the process ends.
  static Simulator* instance = new Simulator();
  return *instance;
}

SimulatorBackend::SimulatorBackend(Simulator& simulator) : simulator_(simulator) {}

void SimulatorBackend::List(std::vector<InputDevice>& inputs, std::vector<OutputDevice>& outputs) {
  if (!SimulatorRequested()) return;
  inputs.push_back(Input());
  outputs.push_back(Output());
}

InputDevice SimulatorBackend::Input() {
  return {kSimulatorName, [&simulator = simulator_]() -> Opened<InputPort> {
            auto port = std::make_unique<SimulatorInput>(simulator);
            if (!simulator.ConnectProgramInput(port.get())) return {nullptr, MMSYSERR_ALLOCATED};
            return {std::move(port), MMSYSERR_NOERROR};
          }};
}

OutputDevice SimulatorBackend::Output() {
  return {kSimulatorName, [&simulator = simulator_]() -> Opened<OutputPort> {
            if (!simulator.ClaimProgramOutput()) return {nullptr, MMSYSERR_ALLOCATED};
            const char* log = std::getenv("BOXWRIGHT_SIMULATOR_LOG");
            simulator.SetLogPath(log ? log : "");
            return {std::make_unique<SimulatorOutput>(simulator), MMSYSERR_NOERROR};
          }};
}

}  // namespace midi
