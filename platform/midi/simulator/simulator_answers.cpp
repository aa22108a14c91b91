// How the unit answers each message.
#include <algorithm>

#include "platform/midi/cab_file_format.h"
#include "platform/midi/device_sysex.h"
#include "platform/midi/simulator/simulator.h"
#include "platform/win/system/ascii_text.h"

namespace midi {

namespace {
constexpr BYTE kBlockParameter = 0x02;
constexpr BYTE kCabXY = 0x11;
constexpr BYTE kCabList = 0x12;
constexpr BYTE kCabRename = 0x2D;
constexpr BYTE kStatus = 0x64;

constexpr BYTE kNoError = 0;
constexpr BYTE kNoSuchThing = 1;   // slot, block, parameter or value the unit does not have
constexpr BYTE kNotUserSlot = 2;   // a cab file can only go into a user slot
constexpr BYTE kBadMessage = 3;    // wrong header, checksum or length

constexpr size_t kBlockParameterLength = 16;
constexpr size_t kCabXYLength = 12;
constexpr size_t kCabListRequestLength = 10;
constexpr size_t kCabRenameLength = 41;
constexpr size_t kMaxNameLength = 31;
// F0, the header, the function, the slot, the checksum and F7.
constexpr size_t kShortestCabFileStart = kShortestMessage + 1;
constexpr int kHighestMode = 2;

std::vector<BYTE> Status(BYTE function, BYTE error) {
  const BYTE data[] = {function, error};
  return FrameMessage(kStatus, data);
}

bool IsBlock(BYTE id, BYTE high) { return (id == Simulator::kCab1 || id == Simulator::kCab2) && high == 0; }

// Name bytes from `from` up to the first 00h or the checksum, at most 31.
std::string NameFrom(const std::vector<BYTE>& message, size_t from, size_t end) {
  std::string name;
  for (size_t i = from; i < end && message[i] != 0 && name.size() < kMaxNameLength; ++i) {
    name.push_back(static_cast<char>(message[i]));
  }
  return name;
}

// A cab file's name as a slot shows it: up to the first NUL, no trailing blanks, at most 31
// characters, and none above 7Fh (it goes out again in cab-list answers).
std::string SlotName(std::string name) {
  name.erase(std::min(name.find('\0'), name.size()));
  if (name.size() > kMaxNameLength) name.resize(kMaxNameLength);
  name.resize(win::Clipped(name).size());
  for (char& c : name) {
    if (static_cast<unsigned char>(c) > 0x7F) c = '?';
  }
  return name;
}

bool IsCabFileSequel(const std::vector<BYTE>& message) {
  return IsSoundMessage(message) && (message[kFunctionAt] == kCabFileData || message[kFunctionAt] == kCabFileEnd);
}
}  // namespace

CabBlockState& Simulator::ActiveState(BYTE block) {
  CabBlock& b = BlockLocked(block);
  return b.xy == 0 ? b.x : b.y;
}

std::vector<std::vector<BYTE>> Simulator::AnswerLocked(const std::vector<BYTE>& message) {
  BYTE function = message.size() >= kShortestMessage ? message[kFunctionAt] : 0;
  // Anything but the next part of a cab file breaks it off; the slot keeps what it held.
  const bool brokenOff = upload_.receiving && !IsCabFileSequel(message);
  if (brokenOff) upload_ = CabUpload{};
  if (!IsSoundMessage(message)) return {Status(function, kBadMessage)};
  if (faults_.forceError >= 0) {
    upload_ = CabUpload{};
    return {Status(function, static_cast<BYTE>(faults_.forceError & 0x7F))};
  }
  switch (function) {
    case kCabList: {
      if (message.size() != kCabListRequestLength || message[6] != 0x7F || message[7] != 0x7F) {
        return {Status(function, kBadMessage)};
      }
      std::vector<std::vector<BYTE>> answers;
      for (size_t index = 0; index < cabs_.size(); ++index) {
        std::vector<BYTE> data{static_cast<BYTE>(index & 0x7F), static_cast<BYTE>((index >> 7) & 0x7F)};
        data.insert(data.end(), cabs_[index].begin(), cabs_[index].end());
        answers.push_back(FrameMessage(kCabList, data));
      }
      return answers;
    }
    case kBlockParameter: return {BlockParameter(message)};
    case kCabXY: return {CabXY(message)};
    case kCabRename: return {Rename(message)};
    // A second start is taken for a broken file, not for a new one.
    case kCabFileStart: return {brokenOff ? Status(kCabFileStart, kBadMessage) : CabFileStart(message)};
    case kCabFileData: return {CabFileData(message)};
    case kCabFileEnd: return {CabFileEnd()};
    default: return {};  // the unit ignores what it does not know
  }
}

std::vector<BYTE> Simulator::BlockParameter(const std::vector<BYTE>& message) {
  if (message.size() != kBlockParameterLength || message[13] > 1) return Status(kBlockParameter, kBadMessage);
  BYTE block = message[6];
  BYTE parameter = message[8];
  bool known = parameter == kLeftCab || parameter == kRightCab || parameter == kCabMode;
  if (!IsBlock(block, message[7]) || !known || message[9] != 0) return Status(kBlockParameter, kNoSuchThing);
  CabBlockState& state = ActiveState(block);
  int& value = parameter == kLeftCab ? state.leftCab : parameter == kRightCab ? state.rightCab : state.mode;
  if (message[13] == 1) {
    int wanted = message[10] | (message[11] << 7) | (message[12] << 14);
    int highest = parameter == kCabMode ? kHighestMode : static_cast<int>(cabs_.size()) - 1;
    if (wanted > highest) return Status(kBlockParameter, kNoSuchThing);
    value = wanted;
  }
  lastBlock_ = block;
  if (parameter != kCabMode) lastSide_ = parameter;
  std::vector<BYTE> answer = message;
  answer[10] = static_cast<BYTE>(value & 0x7F);
  answer[11] = static_cast<BYTE>((value >> 7) & 0x7F);
  answer[12] = static_cast<BYTE>((value >> 14) & 0x7F);
  Reseal(answer);
  return answer;
}

std::vector<BYTE> Simulator::CabXY(const std::vector<BYTE>& message) {
  if (message.size() != kCabXYLength || message[9] > 1) return Status(kCabXY, kBadMessage);
  BYTE block = message[6];
  if (!IsBlock(block, message[7])) return Status(kCabXY, kNoSuchThing);
  CabBlock& b = BlockLocked(block);
  if (message[9] == 1) {
    if (message[8] > 1) return Status(kCabXY, kNoSuchThing);
    b.xy = message[8];
  }
  lastBlock_ = block;
  std::vector<BYTE> answer = message;
  answer[8] = static_cast<BYTE>(b.xy);
  Reseal(answer);
  return answer;
}

std::vector<BYTE> Simulator::Rename(const std::vector<BYTE>& message) {
  if (message.size() != kCabRenameLength) return Status(kCabRename, kBadMessage);
  int slot = message[6];
  int userSlots = static_cast<int>(cabs_.size()) - factoryCabs_;
  if (slot >= userSlots) return Status(kCabRename, kNoSuchThing);
  cabs_[factoryCabs_ + slot] = NameFrom(message, 7, 39);
  return Status(kCabRename, kNoError);
}

std::vector<BYTE> Simulator::CabFileStart(const std::vector<BYTE>& message) {
  if (message.size() < kShortestCabFileStart) return Status(kCabFileStart, kBadMessage);
  if (message[6] != kCabFileAnySlot) return Status(kCabFileStart, kNotUserSlot);
  const CabBlockState& state = ActiveState(lastBlock_);
  int cab = lastSide_ == kRightCab ? state.rightCab : state.leftCab;
  if (cab < factoryCabs_ || cab >= static_cast<int>(cabs_.size())) return Status(kCabFileStart, kNotUserSlot);
  upload_ = CabUpload{.receiving = true, .cab = cab, .dataMessages = 0, .name = {}};
  return Status(kCabFileStart, kNoError);
}

std::vector<BYTE> Simulator::CabFileData(const std::vector<BYTE>& message) {
  if (!upload_.receiving || message.size() != kCabDataMessageLength) {
    upload_ = CabUpload{};
    return Status(kCabFileData, kBadMessage);
  }
  if (upload_.dataMessages++ == 0) upload_.name = SlotName(CabNameFromData(message));
  return Status(kCabFileData, kNoError);
}

std::vector<BYTE> Simulator::CabFileEnd() {
  // Without a data message there is neither a name nor a sound to store.
  const bool complete = upload_.receiving && upload_.dataMessages > 0;
  if (complete) cabs_[upload_.cab] = upload_.name;
  upload_ = CabUpload{};
  return Status(kCabFileEnd, complete ? kNoError : kBadMessage);
}

}  // namespace midi
