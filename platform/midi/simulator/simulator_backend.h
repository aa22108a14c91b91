#pragma once
// Lists the simulated device, after the real ports, as one input and one output named
// "Boxwright Simulator", when BOXWRIGHT_SIMULATOR is set to anything but 0. Its output
// appends what the unit receives to the file named by BOXWRIGHT_SIMULATOR_LOG.
#include "platform/midi/backend.h"
#include "platform/midi/simulator/simulator.h"

namespace midi {

inline constexpr const char* kSimulatorName = "Boxwright Simulator";

// The one simulated unit behind the listed device, for tests to inspect and steer.
Simulator& SimulatorInstance();

class SimulatorBackend : public Backend {
 public:
  explicit SimulatorBackend(Simulator& simulator);
  void List(std::vector<InputDevice>& inputs, std::vector<OutputDevice>& outputs) override;

 private:
  InputDevice Input();
  OutputDevice Output();

  Simulator& simulator_;
};

}  // namespace midi
