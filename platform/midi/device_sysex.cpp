#include "platform/midi/device_sysex.h"

#include <algorithm>

namespace midi {

BYTE Checksum(std::span<const BYTE> bytes) {
  BYTE sum = 0;
  for (BYTE b : bytes) sum ^= b;
  return sum & 0x7F;
}

bool IsSoundMessage(std::span<const BYTE> message) {
  if (message.size() < kShortestMessage) return false;
  if (!std::equal(std::begin(kDeviceHeader), std::end(kDeviceHeader), message.begin())) return false;
  if (message.back() != 0xF7) return false;
  return Checksum(message.first(message.size() - 2)) == message[message.size() - 2];
}

std::vector<BYTE> FrameMessage(BYTE function, std::span<const BYTE> data) {
  std::vector<BYTE> message(std::begin(kDeviceHeader), std::end(kDeviceHeader));
  message.push_back(function);
  message.insert(message.end(), data.begin(), data.end());
  message.push_back(Checksum(message));
  message.push_back(0xF7);
  return message;
}

void Reseal(std::vector<BYTE>& message) {
  if (message.size() < 2) return;
  message[message.size() - 2] = Checksum(std::span(message).first(message.size() - 2));
}

}  // namespace midi
