#include "platform/midi/alsa/alsa_backend.h"

#include <alsa/asoundlib.h>

#include <memory>

#include "platform/midi/alsa/alsa_quiet.h"

namespace midi {

namespace {

struct Port {
  std::string id;    // "hw:card,device,subdevice"
  std::string name;  // as the driver gives it
};

using CtlPtr = std::unique_ptr<snd_ctl_t, decltype(&snd_ctl_close)>;
using InfoPtr = std::unique_ptr<snd_rawmidi_info_t, decltype(&snd_rawmidi_info_free)>;

// The subdevices of one device in one direction.
void ListStream(snd_ctl_t* ctl, int card, int device, snd_rawmidi_stream_t stream, std::vector<Port>& ports) {
  snd_rawmidi_info_t* raw = nullptr;
  if (snd_rawmidi_info_malloc(&raw) < 0) return;
  InfoPtr info(raw, snd_rawmidi_info_free);
  snd_rawmidi_info_set_device(info.get(), device);
  snd_rawmidi_info_set_subdevice(info.get(), 0);
  snd_rawmidi_info_set_stream(info.get(), stream);
  if (snd_ctl_rawmidi_info(ctl, info.get()) < 0) return;
  unsigned count = snd_rawmidi_info_get_subdevices_count(info.get());
  std::string deviceName = snd_rawmidi_info_get_name(info.get());
  for (unsigned sub = 0; sub < count; ++sub) {
    snd_rawmidi_info_set_subdevice(info.get(), sub);
    if (snd_ctl_rawmidi_info(ctl, info.get()) < 0) continue;
    std::string name = snd_rawmidi_info_get_subdevice_name(info.get());
    // A lone subdevice goes by its device's name; several by their own when they have one.
    if (count == 1 || name.empty()) name = deviceName;
    ports.push_back({"hw:" + std::to_string(card) + "," + std::to_string(device) + "," + std::to_string(sub), name});
  }
}

void ListCard(int card, std::vector<Port>& inputs, std::vector<Port>& outputs) {
  snd_ctl_t* raw = nullptr;
  if (snd_ctl_open(&raw, ("hw:" + std::to_string(card)).c_str(), 0) < 0) return;
  CtlPtr ctl(raw, snd_ctl_close);
  int device = -1;
  while (snd_ctl_rawmidi_next_device(ctl.get(), &device) >= 0 && device >= 0) {
    ListStream(ctl.get(), card, device, SND_RAWMIDI_STREAM_INPUT, inputs);
    ListStream(ctl.get(), card, device, SND_RAWMIDI_STREAM_OUTPUT, outputs);
  }
}

}  // namespace

void AlsaBackend::List(std::vector<InputDevice>& inputs, std::vector<OutputDevice>& outputs) {
  SilenceAlsa();
  std::vector<Port> in, out;
  int card = -1;
  while (snd_card_next(&card) >= 0 && card >= 0) ListCard(card, in, out);
  for (auto& port : in) inputs.push_back({port.name, [id = port.id] { return OpenRawMidiInput(id); }});
  for (auto& port : out) outputs.push_back({port.name, [id = port.id] { return OpenRawMidiOutput(id); }});
}

}  // namespace midi
