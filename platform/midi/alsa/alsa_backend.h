#pragma once
// The user's hardware ports through ALSA raw MIDI: every card, device and subdevice with
// MIDI input or output, named as the driver names them. Raw MIDI carries system-exclusive
// messages of any length whole. No ALSA devices: no ports, and nothing on the console.
#include <string>

#include "platform/midi/backend.h"

namespace midi {

class AlsaBackend : public Backend {
 public:
  void List(std::vector<InputDevice>& inputs, std::vector<OutputDevice>& outputs) override;
};

// Opens a raw MIDI port by its ALSA name ("hw:card,device,subdevice").
Opened<InputPort> OpenRawMidiInput(const std::string& name);
Opened<OutputPort> OpenRawMidiOutput(const std::string& name);

}  // namespace midi
