#pragma once
// Back-ends list the devices they offer; the MIDI calls number them in the order of the
// back-ends, then the order each back-end gives.
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/midi/mmsystem.h"
#include "platform/midi/port.h"

namespace midi {

template <typename Port>
struct Opened {
  std::unique_ptr<Port> port;        // empty when the open failed
  MMRESULT error = MMSYSERR_NOERROR;
};

struct InputDevice {
  std::string name;
  std::function<Opened<InputPort>()> open;
};

struct OutputDevice {
  std::string name;
  std::function<Opened<OutputPort>()> open;
};

class Backend {
 public:
  virtual ~Backend() = default;
  virtual void List(std::vector<InputDevice>& inputs, std::vector<OutputDevice>& outputs) = 0;
};

using BackendList = std::vector<std::shared_ptr<Backend>>;

// The back-ends in use: by default the ALSA raw MIDI ports, then the simulated device.
// Tests install their own list; the previous one is returned.
BackendList InstallBackends(BackendList backends);

// Looks for devices again (midiInGetNumDevs and midiOutGetNumDevs do this).
void RescanDevices();
// The device with this id as of the last scan (a scan is made if none was).
std::optional<InputDevice> FindInputDevice(UINT id);
std::optional<OutputDevice> FindOutputDevice(UINT id);
UINT InputDeviceCount();
UINT OutputDeviceCount();

}  // namespace midi
